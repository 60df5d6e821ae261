// optima --search as a user runs it: every search gives the same count and the same optima.json
// bytes, the summary names the search that ran, and a stopped disjunctive count is a lower bound.
#include <gtest/gtest.h>

#include <string>

#include "program_runner.h"
#include "sanitized_build.h"
#include "test_instances.h"

namespace jobshop {

namespace {

std::string folderWith(const std::string& instanceFile) {
  const std::string folder = makeTempFolder();
  writeFile(folder + "D_Entrada.txt", readFile(std::string(JOBSHOP_SOURCE_DIR) + instanceFile));
  return folder;
}

bool hasLine(const std::string& text, const std::string& line) {
  return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

struct Counted {
  Captured run;
  std::string json;
};

Counted countIn(const std::string& folder, const std::string& arguments) {
  Counted counted{runProgramIn(folder, "optima " + arguments), ""};
  counted.json = readFile(folder + "optima.json");
  return counted;
}

}  // namespace

TEST(OptimaSearch, EverySearchGivesTheSameCountAndFile) {
  const std::string folder = folderWith("/examples/ft06/D_Entrada.txt");
  const Counted states = countIn(folder, "--bound 57 --search states --threads 1");
  const Counted disjunctive = countIn(folder, "--bound 57 --search disjunctive --threads 2");
  const Counted chosen = countIn(folder, "--bound 57");
  for (const Counted* counted : {&states, &disjunctive, &chosen}) {
    EXPECT_EQ(counted->run.status, 0) << counted->run.err;
    // 575 at 57: docs/exact-counts.md.
    EXPECT_TRUE(hasLine(counted->run.out, "count 575")) << counted->run.out;
    EXPECT_TRUE(hasLine(counted->run.out, "exact 575")) << counted->run.out;
    EXPECT_EQ(counted->json, states.json);
  }
  EXPECT_TRUE(hasLine(states.run.out, "search states"));
  EXPECT_TRUE(hasLine(disjunctive.run.out, "search disjunctive"));
  // ft06 at 57 takes about a thousand nodes by pair orders, well within auto's trial.
  EXPECT_TRUE(hasLine(chosen.run.out, "search disjunctive")) << chosen.run.out;
}

TEST(OptimaSearch, AutoLeavesAListAndALooseInstanceToTheStateSearch) {
  SKIP_WHEN_SANITIZED();
  const std::string ft06 = folderWith("/examples/ft06/D_Entrada.txt");
  const Captured listed = runProgramIn(ft06, "optima --list optima.txt");
  EXPECT_EQ(listed.status, 0) << listed.err;
  EXPECT_TRUE(hasLine(listed.out, "search states"));
  // la02 at 660 has 625,043 schedules (the state search's count), and the pair orders visit
  // every one: far more nodes than the trial's 300,000.
  const std::string la02 = folderWith("/tests/data/benchmarks/la02.txt");
  const Captured loose = runProgramIn(la02, "optima --bound 660 --threads 1");
  EXPECT_EQ(loose.status, 0) << loose.err;
  EXPECT_TRUE(hasLine(loose.out, "count 625043"));
  EXPECT_TRUE(hasLine(loose.out, "search states"));
  EXPECT_NE(loose.out.find("\ndisjunctive trial unfinished after "), std::string::npos);
}

TEST(OptimaSearch, ATimeLimitStopsTheDisjunctiveCountAtALowerBound) {
  // la16 at 945 takes about 13.5 million nodes by pair orders, far beyond a tenth of a second.
  const std::string folder = folderWith("/bench/instances/la16/D_Entrada.txt");
  const Counted stopped =
      countIn(folder, "--bound 945 --search disjunctive --threads 1 --time-limit 0.1");
  EXPECT_EQ(stopped.run.status, 0) << stopped.run.err;
  EXPECT_TRUE(hasLine(stopped.run.out, "complete no"));
  EXPECT_TRUE(hasLine(stopped.run.out, "time limit reached"));
  EXPECT_NE(stopped.run.out.find("\nlower bound "), std::string::npos);
  EXPECT_NE(stopped.json.find("\"lowerBound\": "), std::string::npos);
}

TEST(OptimaSearch, RefusesWhatTheDisjunctiveSearchCannotDo) {
  const std::string folder = folderWith("/examples/ft06/D_Entrada.txt");
  for (const std::string arguments :
       {"--search disjunctive --list l.txt", "--search disjunctive --limit 3",
        "--search disjunctive --resume", "--search disjunctive --memory 64",
        "--search disjunctive --piece 1/2", "--search sideways"}) {
    const Captured refused = runProgramIn(folder, "optima " + arguments);
    EXPECT_EQ(refused.status, 2) << arguments;
    EXPECT_NE(refused.err.find("--search"), std::string::npos) << arguments << refused.err;
  }
}

}  // namespace jobshop
