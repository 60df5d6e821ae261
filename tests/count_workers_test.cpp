// A count in pieces run by worker processes or written as a Slurm job array: the same optima.json
// as the whole count, a failed or stopped piece counted again alone, and the array's scripts.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "campaigns/slurm_count_job.h"
#include "input/instance_text.h"
#include "optima_folders.h"
#include "program_runner.h"
#include "results/count_piece.h"
#include "sanitized_build.h"
#include "test_instances.h"
#include "test_seed.h"

namespace jobshop {

namespace {

const char* const kFt06 = "/examples/ft06/D_Entrada.txt";
const char* const kLa02 = "/tests/data/benchmarks/la02.txt";
const char* const kLa01 = "/tests/data/benchmarks/la01.txt";

Captured optima(const std::string& folder, const std::string& arguments) {
  return runProgramIn(folder, "optima " + arguments);
}

// optima.json of a plain whole count of the folder's instance within bound, in another folder.
std::string wholeCountJson(const std::string& folder, int bound) {
  const std::string whole = folderWithText(readFile(folder + "D_Entrada.txt"));
  const Captured counted =
      optima(whole, "--memory 16 --threads 1 --bound " + std::to_string(bound));
  EXPECT_EQ(counted.status, 0) << counted.err;
  return readFile(whole + "optima.json");
}

// A random instance of J jobs and M machines, times 1 to 9, each job visiting every machine once.
std::string randomInstanceText(std::mt19937& random, int jobs, int machines) {
  std::vector<int> times;
  std::vector<int> routing;
  std::uniform_int_distribution<int> time(1, 9);
  for (int j = 0; j < jobs; ++j) {
    std::vector<int> route(static_cast<std::size_t>(machines));
    for (int m = 0; m < machines; ++m) route[static_cast<std::size_t>(m)] = m + 1;
    std::shuffle(route.begin(), route.end(), random);
    for (int m = 0; m < machines; ++m) {
      times.push_back(time(random));
      routing.push_back(route[static_cast<std::size_t>(m)]);
    }
  }
  return formatInstanceFile(makeInstance(jobs, machines, times, routing, 1));
}

}  // namespace

TEST(CountWorkers, WorkersWriteTheWholeCountsOptimaJson) {
  SKIP_WHEN_SANITIZED();
  // 126,453 schedules of la02 within 656 and 72,452 of ft06 within 60: the listing walk's counts
  // (exact_count_test, exact_search_test).
  const std::string la02 = folderWith(kLa02);
  const Captured two = optima(la02, "--bound 656 --workers 2");
  ASSERT_EQ(two.status, 0) << two.err;
  EXPECT_TRUE(hasLine(two.out, "exact 126453")) << two.out;
  EXPECT_TRUE(hasLine(two.out, "merged 8 pieces of 340 subtrees")) << two.out;
  EXPECT_TRUE(hasLine(two.out, "workers 2")) << two.out;
  EXPECT_EQ(readFile(la02 + "optima.json"), wholeCountJson(la02, 656));

  const std::string ft06 = folderWith(kFt06);
  const Captured one = optima(ft06, "--bound 60 --workers 1 --pieces 5 --memory 32");
  ASSERT_EQ(one.status, 0) << one.err;
  EXPECT_TRUE(hasLine(one.out, "exact 72452")) << one.out;
  EXPECT_EQ(readFile(ft06 + "optima.json"), wholeCountJson(ft06, 60));
}

TEST(CountWorkers, RandomInstancesCountAsTheListingWalkDoes) {
  const unsigned seed = testSeed();
  SCOPED_TRACE(replayNote(seed));
  std::mt19937 random(seed);
  for (int round = 0; round < 3; ++round) {
    const std::string folder = folderWithText(randomInstanceText(random, 4 + round % 2, 4));
    SCOPED_TRACE("round " + std::to_string(round) + ":\n" + readFile(folder + "D_Entrada.txt"));
    const Captured optimum = optima(folder, "--optimum --list optimum.txt");
    ASSERT_EQ(optimum.status, 0) << optimum.err;
    const int bound = std::stoi(optimum.out.substr(optimum.out.find("\nbound ") + 7)) + 3;
    const Captured listed =
        optima(folder, "--bound " + std::to_string(bound) + " --list listed.txt");
    ASSERT_EQ(listed.status, 0) << listed.err;
    const std::string count = listed.out.substr(6, listed.out.find('\n') - 6);
    const Captured spread =
        optima(folder, "--bound " + std::to_string(bound) + " --workers 2 --pieces 3 --memory 32");
    ASSERT_EQ(spread.status, 0) << spread.err;
    EXPECT_TRUE(hasLine(spread.out, "exact " + count)) << spread.out << "listed " << count;
  }
}

TEST(CountWorkers, OnlyThePiecesLeftAreCountedAgain) {
  SKIP_WHEN_SANITIZED();
  const std::string folder = folderWith(kLa02);
  ASSERT_EQ(optima(folder, "--bound 656 --workers 2 --pieces 4").status, 0);
  const std::string whole = readFile(folder + "optima.json");
  const std::string kept = readFile(folder + countPieceFileName(1, 4));
  // A lost piece, and one whose count was changed after it was written: both are counted again.
  std::remove((folder + countPieceFileName(3, 4)).c_str());
  writeFile(folder + countPieceFileName(2, 4), "{}");
  std::remove((folder + "optima.json").c_str());
  const Captured again = optima(folder, "--bound 656 --workers 2 --pieces 4");
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(readFile(folder + "optima.json"), whole);
  EXPECT_EQ(readFile(folder + countPieceFileName(1, 4)), kept);  // not counted again
}

TEST(CountWorkers, AFailedPieceIsNamedAndKeepsItsOutputUntilItIsCounted) {
  const std::string folder = folderWith(kFt06);
  // A folder where piece 2's file should go: that worker cannot write it.
  ASSERT_EQ(shell("mkdir '" + folder + countPieceFileName(2, 3) + "'").status, 0);
  const Captured failed = optima(folder, "--bound 58 --workers 2 --pieces 3 --memory 32");
  EXPECT_EQ(failed.status, 1);
  EXPECT_NE(failed.err.find("piece 2 of 3 failed (exit 1: cannot write"), std::string::npos)
      << failed.err;
  EXPECT_NE(failed.err.find("cannot merge: 1 of the 3 pieces left failed"), std::string::npos)
      << failed.err;
  EXPECT_FALSE(fileExists(folder + "optima.json"));
  EXPECT_TRUE(fileExists(folder + "optima-piece-2-of-3.err"));
  EXPECT_TRUE(fileExists(folder + countPieceFileName(1, 3)));

  ASSERT_EQ(shell("rmdir '" + folder + countPieceFileName(2, 3) + "'").status, 0);
  const Captured again = optima(folder, "--bound 58 --workers 2 --pieces 3 --memory 32");
  ASSERT_EQ(again.status, 0) << again.err;
  // 3,470 schedules of ft06 within 58 (the table of counts above the optimum).
  EXPECT_TRUE(hasLine(again.out, "exact 3470")) << again.out;
  EXPECT_FALSE(fileExists(folder + "optima-piece-2-of-3.err"));
  EXPECT_FALSE(fileExists(folder + "optima-piece-2-of-3.out"));
}

TEST(CountWorkers, AStopReachesTheWorkersAndLeavesNoPieceHalfWritten) {
  SKIP_WHEN_SANITIZED();
  // la01 within 666 takes minutes per piece of two: once both workers have started, they are
  // still counting when SIGTERM comes to the command (a worker stopped before its handlers are in
  // place writes nothing either). The wait is bounded (3,000 looks, 30 s) and asserted by the
  // status; the last line counts the workers left behind.
  const std::string folder = folderWith(kLa01);
  const Captured stopped =
      shell("cd '" + folder + "' && { " + JOBSHOP_PROGRAM +
            " optima --memory 64 --bound 666 --workers 2 --pieces 2 > out.txt 2> err.txt & pid=$!; "
            "i=0; while [ ! -e optima-piece-2-of-2.out ] && [ $i -lt 3000 ]; do sleep 0.01; "
            "i=$((i + 1)); done; sleep 0.2; kill -TERM $pid; wait $pid; echo \"status $?\"; "
            "ps -o pid= --ppid $pid | wc -l; }");
  EXPECT_EQ(stopped.out, "status 143\n0\n") << stopped.err;
  EXPECT_NE(readFile(folder + "err.txt").find("stopped after 0 of the 2 pieces left"),
            std::string::npos)
      << readFile(folder + "err.txt");
  EXPECT_FALSE(fileExists(folder + countPieceFileName(1, 2)));
  EXPECT_FALSE(fileExists(folder + countPieceFileName(2, 2)));
  EXPECT_FALSE(fileExists(folder + "optima.json"));
}

TEST(CountWorkers, OptionsThatDoNotGoTogetherAreRefused) {
  const std::string folder = folderWith(kFt06);
  for (const char* arguments :
       {"--pieces 4", "--slurm", "--submit", "--partition debug", "--workers 2 --slurm --pieces 2",
        "--workers 2 --list x.txt", "--workers 2 --piece 1/2", "--workers 2 --merge",
        "--workers 2 --time-limit 5", "--workers 0", "--workers 2 --pieces 0",
        "--slurm --pieces 2 --estimate 10"}) {
    const Captured refused = optima(folder, arguments);
    EXPECT_EQ(refused.status, 2) << arguments << "\n" << refused.err;
  }
  EXPECT_FALSE(fileExists(folder + "optima.json"));
  // Pieces of another count in the folder: the command says which number to give.
  writeFile(folder + countPieceFileName(1, 3), "{}");
  const Captured other = optima(folder, "--workers 2");
  EXPECT_EQ(other.status, 1);
  EXPECT_NE(other.err.find("give --pieces 3 to go on with that count"), std::string::npos)
      << other.err;
}

TEST(CountSlurmJob, TheArrayHoldsThePiecesLeftByNumber) {
  SKIP_WHEN_SANITIZED();
  EXPECT_EQ(arrayRanges({1, 2, 3, 5, 7, 8}), "1-3,5,7-8");
  EXPECT_EQ(arrayRanges({4}), "4");
  EXPECT_EQ(arrayRanges({}), "");

  const std::string folder = folderWith(kLa02);
  ASSERT_EQ(optima(folder, "--bound 656 --workers 2 --pieces 8").status, 0);
  for (int piece : {2, 4, 5, 6, 7}) std::remove((folder + countPieceFileName(piece, 8)).c_str());
  const Captured written = optima(folder,
                                  "--bound 656 --slurm --pieces 8 --time 5:00 --threads 2 "
                                  "--memory 64 --max-running 3 --partition 'a b'");
  ASSERT_EQ(written.status, 0) << written.err;
  EXPECT_NE(written.out.find("5 array tasks for the pieces of 8 still to count"), std::string::npos)
      << written.out;
  const std::string script = readFile(folder + "optima.sbatch");
  EXPECT_TRUE(hasLine(script, "#SBATCH --array=2,4-7%3")) << script;
  EXPECT_TRUE(hasLine(script, "#SBATCH --cpus-per-task=2")) << script;
  EXPECT_TRUE(hasLine(script, "#SBATCH --partition=a_b")) << script;
  EXPECT_TRUE(hasLine(script, "#SBATCH --time=5:00")) << script;
  EXPECT_NE(script.find(" optima --dir '" + folder +
                        "' --bound 656 --threads 2 --memory 64 "
                        "--piece \"$SLURM_ARRAY_TASK_ID\"/8\n"),
            std::string::npos)
      << script;
  const std::string merge = readFile(folder + "optima-merge.sbatch");
  EXPECT_NE(merge.find(" optima --dir '" + folder + "' --merge\n"), std::string::npos) << merge;

  for (int piece : {2, 4, 5, 6, 7})
    ASSERT_EQ(
        optima(folder, "--bound 656 --memory 16 --piece " + std::to_string(piece) + "/8").status,
        0);
  const Captured nothing = optima(folder, "--bound 656 --slurm --pieces 8");
  ASSERT_EQ(nothing.status, 0) << nothing.err;
  EXPECT_EQ(nothing.out,
            "nothing pending: all 8 pieces are counted; optima --merge adds them up\n");
}

}  // namespace jobshop
