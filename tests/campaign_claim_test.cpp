// Several runners on one campaign folder, runners killed without warning, and a disk that fills
// up: every execution is done exactly once, no failure goes unexplained, and nothing is left
// behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <sstream>
#include <thread>

#include "campaign_test_support.h"
#include "campaigns/execution_claim.h"
#include "campaigns/execution_launch.h"
#include "campaigns/execution_state.h"
#include "campaigns/manifest.h"
#include "sanitized_build.h"
#include "test_instances.h"
#include "test_seed.h"
#include "wait_until.h"

namespace jobshop {

namespace fs = std::filesystem;

namespace {

const char* const kResultFiles[] = {"D_Sal_Mejores.txt", "D_Sal_Optimos.txt",
                                    "D_Sal_NumOptimos.txt", "D_Sal_Distancias.txt",
                                    "D_Sal_Soluciones.txt"};

// Twelve executions of maxEvaluations each: 300 takes a few milliseconds, 60000 about a fifth of
// a second, long enough for a kill to land inside one.
std::string twelveExecutions(const char* maxEvaluations) {
  std::string text = kSmallCampaign;
  text.replace(text.find("repetitions = 2"), 15, "repetitions = 3");
  text.replace(text.find("maxEvaluations = 300"), 20,
               std::string("maxEvaluations = ") + maxEvaluations);
  return text;
}

std::string plannedFolder(const std::string& toml) {
  const std::string source = campaignSource(toml);
  const std::string into = source + "out/";
  const Captured planned = campaign("plan '" + source + "campaign.toml' --into '" + into + "'");
  EXPECT_EQ(planned.status, 0) << planned.err;
  return into;
}

pid_t startRunner(const std::string& folder, const char* jobs) {
  const pid_t runner = fork();
  if (runner == 0) {
    const int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, 1);
    dup2(quiet, 2);
    execl(JOBSHOP_PROGRAM, JOBSHOP_PROGRAM, "campaign", "run", folder.c_str(), "--jobs", jobs,
          static_cast<char*>(nullptr));
    _exit(127);
  }
  return runner;
}

int lineCount(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// The runs.csv of a collect without its seconds column, which is wall time.
std::string collectedWithoutTimes(const std::string& folder) {
  const Captured collected = campaign("collect '" + folder + "'");
  EXPECT_EQ(collected.status, 0) << collected.err;
  std::istringstream rows(readFile(folder + "runs.csv"));
  std::string kept;
  for (std::string row; std::getline(rows, row);) {
    std::istringstream cells(row);
    int column = 0;
    for (std::string cell; std::getline(cells, cell, ','); ++column)
      if (column != 14) kept += cell + ",";
    kept += "\n";
  }
  return kept;
}

// Each execution done once: one record line, and result files equal to a clean run's.
void expectEachDoneOnce(const std::string& folder, const std::string& clean) {
  for (const PlannedExecution& e : readManifest(folder)) {
    SCOPED_TRACE(e.folder);
    const std::string path = folder + e.folder + "/";
    EXPECT_EQ(executionState(path), ExecutionState::kDone);
    EXPECT_EQ(lineCount(readFile(path + "executions.jsonl")), 1) << "one record line";
    for (const char* name : kResultFiles)
      EXPECT_EQ(readFile(path + name), readFile(clean + e.folder + "/" + name)) << name;
  }
  EXPECT_EQ(collectedWithoutTimes(folder), collectedWithoutTimes(clean));
}

// The processes still working in an execution folder of folder, whatever their markers say: their
// command line names it. A zombie has ended.
std::vector<long> processesWorkingIn(const std::string& folder) {
  std::vector<long> pids;
  for (const auto& entry : fs::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::string line = readFile(entry.path().string() + "/cmdline");
    std::replace(line.begin(), line.end(), '\0', ' ');
    if (line.find(" --dir " + folder) != std::string::npos && processAlive(std::stol(name)))
      pids.push_back(std::stol(name));
  }
  return pids;
}

std::vector<std::string> temporaryFiles(const std::string& folder) {
  std::vector<std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.path().filename().string().find(".tmp") != std::string::npos)
      found.push_back(entry.path().string());
  return found;
}

// Claims the execution, then records its failure (exit 3) with no room for a byte more; exits 0
// when the outcome is a failure whose reason is how it ended.
[[noreturn]] void failWithNoRoomLeft(const std::string& folder, const std::string& execution) {
  const OrFailure<ClaimResult> claim = claimExecution(folder, execution);
  if (!claim || *claim != ClaimResult::kClaimed) _exit(2);
  signal(SIGXFSZ, SIG_IGN);
  const rlimit none{0, RLIM_INFINITY};
  setrlimit(RLIMIT_FSIZE, &none);
  const Outcome failed = finishExecution(execution, 3 << 8);
  _exit(failed.reason == "exit 3" && !failed.done ? 0 : 3);
}

int doneCount(const std::string& folder) {
  const std::vector<PlannedExecution> planned = readManifest(folder);
  return static_cast<int>(std::count_if(planned.begin(), planned.end(), [&](const auto& e) {
    return executionState(folder + e.folder + "/") == ExecutionState::kDone;
  }));
}

}  // namespace

TEST(CampaignClaim, TwoRunnersAtOnceRunEachExecutionOnce) {
  SKIP_WHEN_SANITIZED();
  const std::string clean = plannedFolder(twelveExecutions("300"));
  ASSERT_EQ(campaign("run '" + clean + "' --jobs 2").status, 0);
  for (int round = 0; round < 4; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const std::string folder = plannedFolder(twelveExecutions("300"));
    std::string outputs[2];
    std::thread runners[2];
    for (int k = 0; k < 2; ++k)
      runners[k] =
          std::thread([&, k] { outputs[k] = campaign("run '" + folder + "' --jobs 2").out; });
    for (std::thread& runner : runners) runner.join();
    int ran = 0;
    for (const std::string& out : outputs) {
      EXPECT_NE(out.find(" 0 failed"), std::string::npos) << out;
      ran += std::stoi(out);
    }
    EXPECT_EQ(ran, 12) << outputs[0] << outputs[1];
    expectEachDoneOnce(folder, clean);
  }
}

TEST(CampaignClaim, ARunnerKilledAtRandomMomentsThenRestarted) {
  SKIP_WHEN_SANITIZED();
  const unsigned seed = testSeed();
  SCOPED_TRACE(replayNote(seed));
  std::mt19937 random(seed);
  const std::string clean = plannedFolder(twelveExecutions("60000"));
  ASSERT_EQ(campaign("run '" + clean + "' --jobs 2").status, 0);
  const std::string folder = plannedFolder(twelveExecutions("60000"));
  for (int kill = 0; kill < 6; ++kill) {
    // The kill lands once the runner has finished a drawn number of executions (none: at its
    // start), or once it has finished them all, so that it falls inside the runner's work
    // however loaded the machine is.
    const int after = std::uniform_int_distribution<int>(0, 2)(random);
    SCOPED_TRACE("kill " + std::to_string(kill) + " after " + std::to_string(after) +
                 " executions");
    const int doneBefore = doneCount(folder);
    const pid_t runner = startRunner(folder, "2");
    bool ended = false;
    const bool reached = waitUntil(
        [&] {
          ended = ended || waitpid(runner, nullptr, WNOHANG) == runner;
          return ended || doneCount(folder) >= doneBefore + after;
        },
        std::chrono::seconds(60));
    ASSERT_TRUE(reached) << "the runner finished no execution";
    if (!ended) {
      ASSERT_EQ(::kill(runner, SIGKILL), 0);
      ASSERT_EQ(waitpid(runner, nullptr, 0), runner);
    }
    // Every other time the next runner starts at once, as a user would restart it; in between,
    // no execution may go on after its runner, and none is then counted as running.
    if (kill % 2 == 0) continue;
    EXPECT_TRUE(
        waitUntil([&] { return processesWorkingIn(folder).empty(); }, std::chrono::seconds(5)))
        << processesWorkingIn(folder).size() << " executions outlived their runner";
    const Captured status = campaign("status '" + folder + "'");
    EXPECT_NE(status.out.find(" 0 running (12 planned)"), std::string::npos) << status.out;
  }
  const Captured last = campaign("run '" + folder + "' --jobs 2");
  EXPECT_EQ(last.status, 0) << last.out << last.err;
  expectEachDoneOnce(folder, clean);
}

TEST(CampaignClaim, ALiveChildOrAnotherHostKeepsItsClaim) {
  const std::string folder = plannedFolder(kSmallCampaign);
  // A runner killed before its child: the child still works in the folder.
  const pid_t child = fork();
  if (child == 0) {
    pause();
    _exit(0);
  }
  writeFile(folder + "small/N6/1/running",
            hostName() + " 999999999 " + std::to_string(child) + "\n");
  writeFile(folder + "given/N8/2/running", "some-other-node 4242 4243\n");
  EXPECT_EQ(campaign("status '" + folder + "'").out,
            "0 done, 6 pending, 0 failed, 2 running (8 planned)\n"
            "1 of the running are claimed by host some-other-node, which this host cannot look "
            "into: they are never taken over from here (if some-other-node is gone, delete their "
            "running markers to run them again)\n");
  const Captured ran = campaign("run '" + folder + "'");
  EXPECT_EQ(ran.out,
            "6 executions run, 0 already done, 0 failed, 2 running elsewhere (8 planned)\n")
      << ran.err;
  EXPECT_EQ(executionState(folder + "small/N6/1/"), ExecutionState::kRunning);

  // Once the child is gone too, the claim is stale and the execution runs from scratch.
  ::kill(child, SIGKILL);
  ASSERT_EQ(waitpid(child, nullptr, 0), child);
  EXPECT_EQ(campaign("status '" + folder + "'").out.substr(0, 44),
            "6 done, 1 pending, 0 failed, 1 running (8 pl");
  EXPECT_EQ(campaign("run '" + folder + "'").out,
            "1 executions run, 6 already done, 0 failed, 1 running elsewhere (8 planned)\n");
  EXPECT_EQ(executionState(folder + "small/N6/1/"), ExecutionState::kDone);
}

// A PID is given again once the kernel's counter wraps (at 32,768 by default, seconds apart on a
// busy machine), so a claim names its processes by PID and start time: a dead runner's PID now
// held by another process must not keep the execution "running" for as long as that one lives.
TEST(CampaignClaim, APidGivenToAnotherProcessHoldsNoClaim) {
  const std::string folder = plannedFolder(kSmallCampaign);
  const std::string marker = folder + "small/N6/1/running";
  const long self = static_cast<long>(::getpid());
  const unsigned long long start = processStartTime(self);
  ASSERT_NE(start, 0u) << "this test reads /proc";
  const std::string host = hostName();

  writeFile(marker, host + " " + std::to_string(self) + " 0 " + std::to_string(start) + " 0\n");
  EXPECT_EQ(claimLiveness(folder + "small/N6/1/"), ClaimLiveness::kLive) << "the same process";
  writeFile(marker, host + " " + std::to_string(self) + " 0 " + std::to_string(start + 1) + " 0\n");
  EXPECT_EQ(claimLiveness(folder + "small/N6/1/"), ClaimLiveness::kStale)
      << "the PID, but another process";
  writeFile(marker,
            host + " 999999999 " + std::to_string(self) + " 0 " + std::to_string(start + 1) + "\n");
  EXPECT_EQ(claimLiveness(folder + "small/N6/1/"), ClaimLiveness::kStale) << "the child's PID too";
  writeFile(marker, host + " " + std::to_string(self) + " 0\n");
  EXPECT_EQ(claimLiveness(folder + "small/N6/1/"), ClaimLiveness::kLive)
      << "a marker of an earlier version, without start times, is judged by the PID alone";

  // The program's own markers carry the start times, and read back as they were written.
  const ClaimHolder runner = thisRunner();
  EXPECT_EQ(runner.runnerStart, start);
  EXPECT_EQ(claimText(runner),
            host + " " + std::to_string(self) + " 0 " + std::to_string(start) + " 0\n");
}

TEST(CampaignClaim, AFullDiskGivesEveryFailureItsReasonAndLeavesNoTemporaryFile) {
  // Nothing can be written at all: nothing starts, each says why, and all stay pending.
  const std::string full = plannedFolder(kSmallCampaign);
  const Captured none = shellWithFileSizeLimit(
      std::string(JOBSHOP_PROGRAM) + " campaign run '" + full + "' --jobs 2", 0);
  EXPECT_EQ(none.status, 1) << none.err;
  EXPECT_EQ(none.out, "0 executions run, 0 already done, 8 failed (8 planned)\n");
  EXPECT_EQ(lineCount(none.err), 16) << none.err;
  EXPECT_NE(
      none.err.find("small/N6/1 failed:\n  cannot write its running marker: File too large\n"),
      std::string::npos)
      << none.err;
  EXPECT_EQ(temporaryFiles(full), std::vector<std::string>{});
  EXPECT_EQ(campaign("status '" + full + "'").out,
            "0 done, 8 pending, 0 failed, 0 running (8 planned)\n");

  // Room for the markers but not for the results: each execution fails, says how, and is
  // marked failed even where the failed marker's text no longer fits.
  const std::string filling = plannedFolder(kSmallCampaign);
  const long limit = static_cast<long>(std::max<std::size_t>(48, hostName().size() + 32));
  const Captured cut = shellWithFileSizeLimit(
      std::string(JOBSHOP_PROGRAM) + " campaign run '" + filling + "' --jobs 2", limit);
  EXPECT_EQ(cut.status, 1) << cut.err;
  EXPECT_EQ(cut.out, "0 executions run, 0 already done, 8 failed (8 planned)\n");
  std::istringstream lines(cut.err);
  int failures = 0;
  for (std::string line; std::getline(lines, line);) {
    if (line.find(" failed:") == std::string::npos) continue;
    ++failures;
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_GT(line.size(), 2u) << "a reason";
  }
  EXPECT_EQ(failures, 8) << cut.err;
  EXPECT_EQ(temporaryFiles(filling), std::vector<std::string>{});
  EXPECT_EQ(campaign("status '" + filling + "'").out,
            "0 done, 0 pending, 8 failed, 0 running (8 planned)\n");
}

TEST(CampaignClaim, AMarkerThatNoLongerFitsIsPutInPlaceByRenaming) {
  const std::string folder = plannedFolder(kSmallCampaign);
  const std::string execution = folder + "small/N6/1/";
  // In a child process: the file size limit stays there.
  EXPECT_EXIT(failWithNoRoomLeft(folder, execution), testing::ExitedWithCode(0), "");
  EXPECT_EQ(executionState(execution), ExecutionState::kFailed);
  EXPECT_FALSE(fileExists(execution + "running"));
  EXPECT_EQ(temporaryFiles(folder), std::vector<std::string>{});
}

}  // namespace jobshop
