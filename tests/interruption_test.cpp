// SIGINT and SIGTERM during the main run: the run in progress closes its records and the execution
// stops, a second signal ends it at once; whenever the signals come, every result file holds
// whole records only and the report reads them without a problem.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <nlohmann/json.hpp>
#include <random>
#include <thread>

#include "input/instance_reader.h"
#include "input/line_reader.h"
#include "report/recorded_schedules.h"
#include "report/result_records.h"
#include "run/run_driver.h"
#include "test_instances.h"

namespace {

const std::string kSourceDir = JOBSHOP_SOURCE_DIR;

// ft06 with 30 runs of 100,000 evaluations: long enough for a signal to find it in any phase.
std::string longParameters() {
  std::vector<std::string> lines = *readFileLines(kSourceDir + "/examples/ft06/D_Algoritmo.txt");
  lines[3] = "100000";
  lines[5] = "30";
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// The program started in folder; standard output and error go to files there.
pid_t startProgram(const std::string& folder) {
  const pid_t child = fork();
  if (child == 0) {
    if (chdir(folder.c_str()) != 0) _exit(127);
    const int out = open("stdout.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, 1);
    dup2(err, 2);
    execl(JOBSHOP_PROGRAM, JOBSHOP_PROGRAM, "--seed", "11", "--record", "--quiet",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  return child;
}

// Waits until the program has shown its seed: its handlers are installed by then.
void awaitSeed(const std::string& folder) {
  for (int k = 0; k < 20000; ++k) {
    if (fileExists(folder + "stderr.txt") &&
        readFile(folder + "stderr.txt").find("semilla") != std::string::npos)
      return;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  FAIL() << "the program never showed its seed";
}

// The files read back as the report reads them: no problem, and the execution record (when
// written) accounts for exactly the runs in the files.
void expectWholeRecords(const std::string& folder, std::optional<int> recordedStatus) {
  const Instance instance = readInstance(folder + "D_Entrada.txt");
  ResultRecords records = loadResultRecords(folder, instance);
  rebuildRecordedSchedules(records.runs, instance, records.problems);
  for (const std::string& problem : records.problems) ADD_FAILURE() << problem;
  if (!recordedStatus) {
    EXPECT_FALSE(fileExists(folder + "executions.jsonl"));
    return;
  }
  ASSERT_EQ(records.log.executions.size(), 1u);
  EXPECT_EQ(records.log.executions[0].runs.size(), records.runs.size());
  const nlohmann::json line = nlohmann::json::parse(readFile(folder + "executions.jsonl"));
  EXPECT_EQ(line["exitStatus"], *recordedStatus);
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
  std::FILE* out = std::tmpfile();
  RunOutput output{folder, out, ProgressDisplay{}, &stop};
  const ExecutionOutcome outcome = executeRuns(state, output);
  std::fclose(out);
  EXPECT_EQ(outcome.interruption, SIGTERM);
  ASSERT_EQ(outcome.runs.size(), 1u) << "no run starts after the stop";
  EXPECT_EQ(outcome.runs[0].generations, 0);
  EXPECT_EQ(outcome.runs[0].evaluations, 6);
  EXPECT_TRUE(outcome.outputOk);
  EXPECT_EQ(readFile(folder + "D_Sal_Mejores.txt").back(), '\n');
  expectWholeRecords(folder, std::nullopt);
}

TEST(Interruption, OneSignalAtARandomMomentLeavesWholeRecordsAndTheRecordSaysSo) {
  std::random_device device;
  const unsigned seed = device();
  SCOPED_TRACE("moments drawn from seed " + std::to_string(seed));
  std::mt19937 moments(seed);
  for (const int signal : {SIGINT, SIGTERM, SIGINT, SIGTERM}) {
    const std::string folder = makeTempFolder();
    writeFile(folder + "D_Entrada.txt", readFile(kSourceDir + "/examples/ft06/D_Entrada.txt"));
    writeFile(folder + "D_Algoritmo.txt", longParameters());
    const pid_t child = startProgram(folder);
    awaitSeed(folder);
    const int delay = std::uniform_int_distribution<int>(0, 400)(moments);
    SCOPED_TRACE("signal " + std::to_string(signal) + " after " + std::to_string(delay) + " ms");
    std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    kill(child, signal);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "one signal lets the program end by itself";
    // 30 runs take seconds, far beyond the latest moment drawn.
    const int expected = 128 + signal;
    EXPECT_EQ(WEXITSTATUS(status), expected);
    EXPECT_LT(readFile(folder + "stdout.txt").size(), std::string("2\n3\n").size() * 15)
        << "no run starts after the signal";
    EXPECT_NE(readFile(folder + "stderr.txt").find("Interrumpido por"), std::string::npos);
    expectWholeRecords(folder, expected);
  }
}

TEST(Interruption, ASecondSignalEndsTheProgramAtOnceAndStillLeavesWholeRecords) {
  std::random_device device;
  const unsigned seed = device();
  SCOPED_TRACE("moments drawn from seed " + std::to_string(seed));
  std::mt19937 moments(seed);
  for (int trial = 0; trial < 4; ++trial) {
    const std::string folder = makeTempFolder();
    writeFile(folder + "D_Entrada.txt", readFile(kSourceDir + "/examples/ft06/D_Entrada.txt"));
    writeFile(folder + "D_Algoritmo.txt", longParameters());
    const pid_t child = startProgram(folder);
    awaitSeed(folder);
    std::this_thread::sleep_for(
        std::chrono::milliseconds(std::uniform_int_distribution<int>(0, 300)(moments)));
    kill(child, SIGINT);
    std::this_thread::sleep_for(
        std::chrono::microseconds(std::uniform_int_distribution<int>(0, 2000)(moments)));
    kill(child, SIGINT);
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFSIGNALED(status)) {
      EXPECT_EQ(WTERMSIG(status), SIGINT);
      // Ended before its first run did (a slow build, an early moment): the analysis files are
      // first opened at a run's end, so they may not exist yet, which is as empty as they are.
      for (const char* name : {"D_Sal_Mejores.txt", "D_Sal_Optimos.txt", "D_Sal_NumOptimos.txt",
                               "D_Sal_Distancias.txt", "D_Sal_Soluciones.txt"})
        if (!fileExists(folder + name)) writeFile(folder + name, "");
      // Killed before the record was written, or just after (then it is whole and says 130).
      expectWholeRecords(
          folder, fileExists(folder + "executions.jsonl") ? std::optional<int>(130) : std::nullopt);
    } else {
      // The first signal's run had closed and the program ended before the second came.
      ASSERT_TRUE(WIFEXITED(status));
      EXPECT_EQ(WEXITSTATUS(status), 130);
      expectWholeRecords(folder, 130);
    }
  }
}
