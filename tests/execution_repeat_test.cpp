// Which executions of "executions.jsonl" repeat an earlier one: only an execution made again with
// the same seed, clock, instance bytes, parameters and version gives copies of its runs.
#include <gtest/gtest.h>

#include "results/execution_log.h"

namespace jobshop {

namespace {

struct Line {
  std::string seed = "7";
  std::string clock = "hashed";
  std::string sha = "ab12";
  std::string version = "v1";
  std::string population = "40";
  int exitStatus = 0;

  std::string text() const {
    std::string line = "{\"version\":\"";
    line.append(version).append("\",\"seed\":").append(seed);
    line.append(",\"seedGiven\":true,\"wallClock\":").append(seed == "null" ? "true" : "false");
    line.append(",\"clock\":\"").append(clock);
    line.append("\",\"instance\":{\"jobs\":2,\"machines\":2,\"target\":5,\"sha256\":\"");
    line.append(sha).append("\"},\"parameters\":{\"populationSize\":").append(population);
    line.append(",\"runCount\":1},\"runs\":[{\"run\":1}],\"exitStatus\":");
    line.append(std::to_string(exitStatus)).append("}\n");
    return line;
  }
};

ExecutionLog parsed(const std::vector<Line>& lines) {
  std::string text;
  for (const Line& line : lines) text += line.text();
  std::vector<std::string> problems;
  ExecutionLog log = parseExecutionLog(text, problems);
  EXPECT_TRUE(problems.empty()) << problems.front();
  return log;
}

std::optional<int> repeatOfSecond(const Line& first, const Line& second) {
  const ExecutionLog log = parsed({first, second});
  return repeatedExecution(log, log.executions.at(1));
}

}  // namespace

TEST(ExecutionRepeat, TheSameExecutionMadeAgainRepeatsTheFirstOnly) {
  const ExecutionLog log = parsed({Line{}, Line{}, Line{}});
  EXPECT_EQ(repeatedExecution(log, log.executions[0]), std::nullopt);
  EXPECT_EQ(repeatedExecution(log, log.executions[1]), 1);
  EXPECT_EQ(repeatedExecution(log, log.executions[2]), 1);
  // An execution about to start is not in the log yet (number 0): any logged one can match.
  LoggedExecution starting = log.executions[0];
  starting.number = 0;
  EXPECT_EQ(repeatedExecution(log, starting), 1);
}

TEST(ExecutionRepeat, AnyDifferenceInWhatRanMakesANewExecution) {
  const Line base;
  const Line seed{.seed = "8"};
  const Line clock{.clock = "linear"};
  const Line instance{.sha = "ab13"};
  const Line version{.version = "v2"};
  const Line parameter{.population = "41"};
  for (const Line& other : {seed, clock, instance, version, parameter}) {
    EXPECT_EQ(repeatOfSecond(base, other), std::nullopt) << other.text();
  }
}

TEST(ExecutionRepeat, WallClockAndRecordsWithoutDigestOrVersionAreNeverRepeats) {
  const Line wall{.seed = "null", .clock = "wall"};
  EXPECT_EQ(repeatOfSecond(wall, wall), std::nullopt);
  const Line noDigest{.sha = ""};
  EXPECT_EQ(repeatOfSecond(noDigest, noDigest), std::nullopt);
  const Line noVersion{.version = ""};
  EXPECT_EQ(repeatOfSecond(noVersion, noVersion), std::nullopt);
}

TEST(ExecutionRepeat, ExitStatusTellsAnInterruptedExecution) {
  const Line cut{.exitStatus = 130};
  const Line stopped{.exitStatus = 143};
  const ExecutionLog log = parsed({Line{}, cut, stopped});
  EXPECT_FALSE(interrupted(log.executions[0]));
  EXPECT_TRUE(interrupted(log.executions[1]));
  EXPECT_TRUE(interrupted(log.executions[2]));
  EXPECT_EQ(log.executions[1].exitStatus, 130);
  // An interrupted execution made again is still a repeat: its runs copy as far as it got.
  EXPECT_EQ(repeatedExecution(log, log.executions[1]), 1);
}

}  // namespace jobshop
