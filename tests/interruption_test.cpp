// SIGINT and SIGTERM during the main run: the run in progress closes its records and the execution
// stops, even from inside a generation that would not end; a second signal ends it at once;
// whenever the signals come, every result file holds whole records only and the report reads them
// without a problem. Every wait for the program is bounded, and no program outlives its test.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <optional>
#include <random>
#include <sstream>
#include <thread>

#include "analysis/recorded_schedules.h"
#include "input/instance_reader.h"
#include "input/line_reader.h"
#include "results/result_files.h"
#include "results/result_records.h"
#include "run/main_run.h"
#include "support/bounded_file.h"
#include "test_instances.h"

namespace jobshop {

namespace {

const std::string kSourceDir = JOBSHOP_SOURCE_DIR;

// ft06 with 30 runs of 100,000 evaluations: long enough for a signal to find it in any phase.
std::string longParameters() {
  std::vector<std::string> lines =
      *readFileLines(kSourceDir + "/examples/ft06/D_Algoritmo.txt", kMaxInputFileBytes);
  lines[3] = "100000";
  lines[5] = "30";
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

constexpr auto kBound = std::chrono::seconds(30);

// The program as a child process. A test that stops early (a failed assertion) leaves no program
// behind: whatever is still running at the end of the scope is killed and reaped.
struct Child {
  pid_t pid = -1;
  Child() = default;
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child() {
    if (pid <= 0) return;
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
};

// The program started in folder with a given seed, which writes the execution record as any
// execution does; standard output and error go to files there.
void startProgram(const std::string& folder, Child& child) {
  child.pid = fork();
  if (child.pid == 0) {
    if (chdir(folder.c_str()) != 0) _exit(127);
    const int out = open("stdout.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, 1);
    dup2(err, 2);
    execl(JOBSHOP_PROGRAM, JOBSHOP_PROGRAM, "--seed", "11", "--quiet", static_cast<char*>(nullptr));
    _exit(127);
  }
}

// Polls `done` every millisecond until it holds or kBound has passed; whether it held.
template <class Done>
bool within(const Done& done) {
  const auto deadline = std::chrono::steady_clock::now() + kBound;
  while (std::chrono::steady_clock::now() < deadline) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

// Waits until the program has shown its seed: its handlers are installed by then.
testing::AssertionResult awaitSeed(const std::string& folder) {
  if (within([&] {
        return fileExists(folder + "stderr.txt") &&
               readFile(folder + "stderr.txt").find("semilla") != std::string::npos;
      }))
    return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the program never showed its seed";
}

// The exit status of the program once it has ended, nullopt when it is still running after
// kBound (the child's guard then kills it).
std::optional<int> awaitEnd(Child& child) {
  int status = 0;
  if (!within([&] { return waitpid(child.pid, &status, WNOHANG) == child.pid; }))
    return std::nullopt;
  child.pid = -1;
  return status;
}

// Stops the program where it is (SIGSTOP cannot be held back), so that what it has written can be
// counted before a signal reaches it.
testing::AssertionResult freeze(Child& child) {
  kill(child.pid, SIGSTOP);
  int status = 0;
  if (within([&] {
        return waitpid(child.pid, &status, WUNTRACED | WNOHANG) == child.pid && WIFSTOPPED(status);
      }))
    return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the program did not stop on SIGSTOP";
}

// Runs whose progress record is complete in "D_Sal_Mejores.txt": each ends with an empty line.
int closedRuns(const std::string& folder) {
  if (!fileExists(folder + "D_Sal_Mejores.txt")) return 0;
  const std::vector<std::string> lines = splitLines(readFile(folder + "D_Sal_Mejores.txt"));
  return static_cast<int>(std::count(lines.begin(), lines.end(), std::string()));
}

// Processor time the program has used, from /proc: it shows that the program is busy in its
// first generation rather than still starting.
std::chrono::milliseconds processorTime(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  // The command name may hold spaces; the fields after it are space-separated, utime and stime
  // being the 12th and 13th after the closing parenthesis.
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string field;
  long ticks = 0;
  for (int k = 1; k <= 13 && fields >> field; ++k)
    if (k >= 12) ticks += std::stol(field);
  return std::chrono::milliseconds(ticks * 1000 / sysconf(_SC_CLK_TCK));
}

// Waits until the program has spent `work` of processor time beyond what it had spent when its
// seed line appeared (call right after awaitSeed): the sanitized build alone spends about a quarter
// of a second starting up, so time counted from the start would not show that a run has begun.
bool awaitWork(pid_t pid, std::chrono::milliseconds work) {
  const std::chrono::milliseconds atSeed = processorTime(pid);
  return within([&] { return processorTime(pid) >= atSeed + work; });
}

// The five result files, the trace and the record as the report reads them, without creating
// anything: a result file not written yet (the program was ended before its first run closed) is as
// empty as it would be.
ResultRecords recordsIn(const std::string& folder, const Instance& instance, bool allFilesWritten) {
  ResultTexts texts;
  for (std::size_t f = 0; f < std::size(kResultFileNames); ++f) {
    const std::string path = folder + kResultFileNames[f];
    if (allFilesWritten) {
      EXPECT_TRUE(fileExists(path)) << path;
    }
    texts.files[f] = fileExists(path) ? readFile(path) : "";
  }
  if (fileExists(folder + "executions.jsonl"))
    texts.executionLog = readFile(folder + "executions.jsonl");
  if (fileExists(folder + kTraceFileName)) texts.trace = readFile(folder + kTraceFileName);
  return parseResultRecords(texts, folder, instance);
}

// The files read back as the report reads them: no problem, and the execution record (when
// written) accounts for exactly the runs in the files. Returns the runs in the files.
std::size_t expectWholeRecords(const std::string& folder, std::optional<int> recordedStatus,
                               bool allFilesWritten = true) {
  const Instance instance = readInstance(folder + "D_Entrada.txt");
  ResultRecords records = recordsIn(folder, instance, allFilesWritten);
  rebuildRecordedSchedules(records.runs, instance, records.problems);
  for (const std::string& problem : records.problems) ADD_FAILURE() << problem;
  // Every run closed by a signal has its trace, one row per generation it completed and one for
  // its initial population: a generation given up adds none.
  for (const RunRecord& run : records.runs) {
    EXPECT_FALSE(run.trace.empty()) << "run " << run.run;
    if (run.logged && run.logged->generations && !run.trace.empty()) {
      EXPECT_EQ(run.trace.back().generation, *run.logged->generations) << "run " << run.run;
    }
  }
  if (!recordedStatus) {
    EXPECT_FALSE(fileExists(folder + "executions.jsonl"));
    return records.runs.size();
  }
  EXPECT_EQ(records.log.executions.size(), 1u);
  if (records.log.executions.size() == 1) {
    EXPECT_EQ(records.log.executions[0].runs.size(), records.runs.size());
  }
  const nlohmann::json line = nlohmann::json::parse(readFile(folder + "executions.jsonl"));
  EXPECT_EQ(line["exitStatus"], *recordedStatus);
  return records.runs.size();
}

// The seed the random moments of a test are drawn from: JOBSHOP_TEST_SEED when set, to replay a
// failure, a fresh one otherwise. Printed either way, so that any failure can be replayed.
unsigned momentsSeed() {
  const char* given = std::getenv("JOBSHOP_TEST_SEED");
  const unsigned seed =
      given != nullptr ? static_cast<unsigned>(std::stoul(given)) : std::random_device{}();
  std::cout << "moments from seed " << seed << " (replay with JOBSHOP_TEST_SEED=" << seed << ")\n";
  return seed;
}

// Trial k's moments come from seed + k alone, so that one trial replays the same whatever the
// trials before it drew.
std::mt19937 trialMoments(unsigned seed, int trial) {
  const unsigned trialSeed = seed + static_cast<unsigned>(trial);
  return std::mt19937(trialSeed);
}

// What the program prints after k runs: 2, 3, .., k+1, one per line.
std::string runNumbers(std::size_t runs) {
  std::string text;
  for (std::size_t k = 1; k <= runs; ++k) text += std::to_string(k + 1) + "\n";
  return text;
}

}  // namespace

TEST(Interruption, AStopAskedBeforeTheFirstGenerationClosesOneRunAsItStands) {
  const Instance instance = exampleInstance();
  Parameters parameters;
  parameters.populationSize = 6;
  parameters.maxEvaluations = 1000;
  parameters.runCount = 4;
  parameters.segmentFillCrossoverEnabled = true;
  parameters.crowdingGroups = 1;
  parameters.crowdingGroupSize = 2;
  RunState state(instance, parameters, steppingClock(3));
  const std::string folder = makeTempFolder();
  writeFile(folder + "D_Entrada.txt", "2\n3\n10\n3 2 4\n2 5 1\n1 2 3\n3 1 2\n");
  const volatile std::sig_atomic_t stop = SIGTERM;
  state.stop.signal = &stop;
  std::ostringstream out;
  std::ostringstream err;
  RunOutput output{folder, out, err, ProgressLine{}};
  const ExecutionOutcome outcome = executeRuns(state, output);
  EXPECT_EQ(out.str(), "2\n");
  EXPECT_EQ(err.str(), "");
  EXPECT_EQ(outcome.interruption, SIGTERM);
  ASSERT_EQ(outcome.runs.size(), 1u) << "no run starts after the stop";
  EXPECT_EQ(outcome.runs[0].generations, 0);
  EXPECT_EQ(outcome.runs[0].evaluations, 6);
  EXPECT_TRUE(outcome.outputOk);
  EXPECT_EQ(readFile(folder + "D_Sal_Mejores.txt").back(), '\n');
  expectWholeRecords(folder, std::nullopt);
}

TEST(Interruption, OneSignalAtARandomMomentLeavesWholeRecordsAndTheRecordSaysSo) {
  const unsigned seed = momentsSeed();
  SCOPED_TRACE("JOBSHOP_TEST_SEED=" + std::to_string(seed));
  const int signals[] = {SIGINT, SIGTERM, SIGINT, SIGTERM};
  for (int trial = 0; trial < 4; ++trial) {
    const int signal = signals[trial];
    std::mt19937 moments = trialMoments(seed, trial);
    SCOPED_TRACE("trial " + std::to_string(trial) + ", moments from seed " +
                 std::to_string(seed + static_cast<unsigned>(trial)));
    const std::string folder = makeTempFolder();
    writeFile(folder + "D_Entrada.txt", readFile(kSourceDir + "/examples/ft06/D_Entrada.txt"));
    writeFile(folder + "D_Algoritmo.txt", longParameters());
    Child child;
    startProgram(folder, child);
    ASSERT_TRUE(awaitSeed(folder));
    const int delay = std::uniform_int_distribution<int>(0, 400)(moments);
    SCOPED_TRACE("signal " + std::to_string(signal) + " after " + std::to_string(delay) + " ms");
    std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    // Held still while its closed runs are counted, the program gets the signal on waking: the run
    // in progress then closes and no other starts.
    ASSERT_TRUE(freeze(child));
    const int closed = closedRuns(folder);
    kill(child.pid, signal);
    kill(child.pid, SIGCONT);
    const std::optional<int> status = awaitEnd(child);
    ASSERT_TRUE(status.has_value()) << "the program did not end within 30 s of the signal";
    ASSERT_TRUE(WIFEXITED(*status)) << "one signal lets the program end by itself";
    const int expected = 128 + signal;
    EXPECT_EQ(WEXITSTATUS(*status), expected);
    EXPECT_NE(readFile(folder + "stderr.txt").find("Interrumpido por"), std::string::npos);
    const std::size_t runs = expectWholeRecords(folder, expected);
    EXPECT_GE(runs, static_cast<std::size_t>(std::max(closed, 1)));
    EXPECT_LE(runs, static_cast<std::size_t>(closed) + 1)
        << closed << " runs had closed when the signal came";
    EXPECT_EQ(readFile(folder + "stdout.txt"), runNumbers(runs));
  }
}

TEST(Interruption, ASecondSignalEndsTheProgramAtOnceAndStillLeavesWholeRecords) {
  const unsigned seed = momentsSeed();
  SCOPED_TRACE("JOBSHOP_TEST_SEED=" + std::to_string(seed));
  for (int trial = 0; trial < 4; ++trial) {
    std::mt19937 moments = trialMoments(seed, trial);
    const std::string folder = makeTempFolder();
    writeFile(folder + "D_Entrada.txt", readFile(kSourceDir + "/examples/ft06/D_Entrada.txt"));
    writeFile(folder + "D_Algoritmo.txt", longParameters());
    Child child;
    startProgram(folder, child);
    ASSERT_TRUE(awaitSeed(folder));
    const int first = std::uniform_int_distribution<int>(0, 300)(moments);
    const int between = std::uniform_int_distribution<int>(0, 2000)(moments);
    SCOPED_TRACE("trial " + std::to_string(trial) + ": first signal after " +
                 std::to_string(first) + " ms, second " + std::to_string(between) + " us later");
    std::this_thread::sleep_for(std::chrono::milliseconds(first));
    kill(child.pid, SIGINT);
    std::this_thread::sleep_for(std::chrono::microseconds(between));
    kill(child.pid, SIGINT);
    const std::optional<int> status = awaitEnd(child);
    ASSERT_TRUE(status.has_value()) << "the program did not end within 30 s of the signals";
    if (WIFSIGNALED(*status)) {
      EXPECT_EQ(WTERMSIG(*status), SIGINT);
      // Ended before its first run closed (a slow build, an early moment), the analysis files may
      // not exist yet, which counts as empty. Killed before the record was written, or just after
      // (then it is whole and says 130).
      expectWholeRecords(
          folder, fileExists(folder + "executions.jsonl") ? std::optional<int>(130) : std::nullopt,
          false);
    } else {
      // The first signal's run had closed and the program ended before the second came.
      ASSERT_TRUE(WIFEXITED(*status));
      EXPECT_EQ(WEXITSTATUS(*status), 130);
      expectWholeRecords(folder, 130);
    }
  }
}

// A generation that would never end (each first parent looks for 2^31 - 1 mates): the signal is
// seen inside it, the generation is given up, and the run closes with the population it started
// from, its record saying so.
TEST(Interruption, ASignalInsideAGenerationThatWouldNotEndClosesTheRunAsItStoodBeforeIt) {
  std::vector<std::string> lines =
      *readFileLines(kSourceDir + "/examples/ft06/D_Algoritmo.txt", kMaxInputFileBytes);
  // One generation, of hours of mate selection: more generations would be refused as a run that
  // could not finish.
  lines[3] = std::to_string(std::stoi(lines[1]) + 1);
  lines[33] = "2147483647";
  std::string parameters;
  for (const std::string& line : lines) parameters += line + "\n";
  const std::string folder = makeTempFolder();
  writeFile(folder + "D_Entrada.txt", readFile(kSourceDir + "/examples/ft06/D_Entrada.txt"));
  writeFile(folder + "D_Algoritmo.txt", parameters);
  Child child;
  startProgram(folder, child);
  ASSERT_TRUE(awaitSeed(folder));
  // A quarter of a second of work is far past the start of a run of ft06.
  ASSERT_TRUE(awaitWork(child.pid, std::chrono::milliseconds(250)))
      << "the program did not get to work";
  kill(child.pid, SIGTERM);
  const std::optional<int> status = awaitEnd(child);
  ASSERT_TRUE(status.has_value()) << "the program did not end within 30 s of the signal";
  ASSERT_TRUE(WIFEXITED(*status));
  EXPECT_EQ(WEXITSTATUS(*status), 143);
  EXPECT_EQ(readFile(folder + "stdout.txt"), runNumbers(1));
  EXPECT_EQ(expectWholeRecords(folder, 143), 1u);
  const nlohmann::json record = nlohmann::json::parse(readFile(folder + "executions.jsonl"));
  ASSERT_EQ(record["runs"].size(), 1u);
  const nlohmann::json& run = record["runs"][0];
  EXPECT_EQ(run["abandonedGeneration"], true);
  EXPECT_EQ(run["cut"], true);
  EXPECT_EQ(run["generations"], 0);
  EXPECT_EQ(run["evaluations"], std::stoi(lines[1])) << "the initial population's evaluations";
  // The progress record is the initial best alone.
  const std::vector<std::string> progress = splitLines(readFile(folder + "D_Sal_Mejores.txt"));
  ASSERT_EQ(progress.size(), 2u);
  EXPECT_EQ(progress[0].substr(progress[0].find(' ')), " 0");
}

// A run whose budget no machine spends: whenever the signal comes, it cuts run 1, and the record of
// the execution (made under a given seed, like every one here) says so.
TEST(Interruption, ARunCutUnderAGivenSeedIsRecordedAsCut) {
  std::vector<std::string> lines =
      *readFileLines(kSourceDir + "/examples/ft06/D_Algoritmo.txt", kMaxInputFileBytes);
  lines[3] = "2000000000";
  std::string parameters;
  for (const std::string& line : lines) parameters += line + "\n";
  for (const int signal : {SIGINT, SIGTERM}) {
    SCOPED_TRACE("signal " + std::to_string(signal));
    const std::string folder = makeTempFolder();
    writeFile(folder + "D_Entrada.txt", readFile(kSourceDir + "/examples/ft06/D_Entrada.txt"));
    writeFile(folder + "D_Algoritmo.txt", parameters);
    Child child;
    startProgram(folder, child);
    ASSERT_TRUE(awaitSeed(folder));
    ASSERT_TRUE(awaitWork(child.pid, std::chrono::milliseconds(100)))
        << "the program did not get to work";
    kill(child.pid, signal);
    const std::optional<int> status = awaitEnd(child);
    ASSERT_TRUE(status.has_value()) << "the program did not end within 30 s of the signal";
    ASSERT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 128 + signal);
    EXPECT_EQ(readFile(folder + "stdout.txt"), runNumbers(1));
    EXPECT_EQ(expectWholeRecords(folder, 128 + signal), 1u);
    const nlohmann::json record = nlohmann::json::parse(readFile(folder + "executions.jsonl"));
    EXPECT_EQ(record["seed"], 11);
    EXPECT_EQ(record["seedGiven"], true);
    ASSERT_EQ(record["runs"].size(), 1u);
    EXPECT_EQ(record["runs"][0]["cut"], true);
    EXPECT_LT(record["runs"][0]["evaluations"].get<std::int64_t>(), 2000000000);
  }
}

}  // namespace jobshop
