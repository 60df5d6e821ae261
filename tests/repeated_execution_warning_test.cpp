// The warning that an execution repeats one its folder's record already holds: which line it names,
// and the records it stays silent about.
#include "run/repeated_execution_warning.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "results/file_digest.h"
#include "test_instances.h"

namespace jobshop {

namespace {

ExecutionRecord execution(std::uint32_t seed) {
  ExecutionRecord record;
  record.version = "v1";
  record.commit = "0123456789abcdef0123456789abcdef01234567";
  record.started = 1796787498;  // 2026-12-09T03:38:18Z
  record.seed = seed;
  record.seedGiven = true;
  record.jobs = 2;
  record.machines = 3;
  record.targetMakespan = 10;
  record.instanceSha256 = sha256Hex("instance");
  record.parameters.populationSize = 6;
  record.parameters.runCount = 2;
  record.runs.resize(2);
  record.runs[0].run = 1;
  record.runs[1].run = 2;
  return record;
}

std::string lineOf(const ExecutionRecord& record) { return executionRecordLine(record); }

}  // namespace

TEST(RepeatedExecutionWarning, NamesTheFirstLineThatMadeTheSameExecution) {
  std::string log = "\n";
  for (const std::uint32_t seed : {2u, 1u, 1u}) log += lineOf(execution(seed));
  EXPECT_EQ(repeatedExecutionWarning(log, execution(1)),
            "Aviso: esta ejecución repite la de la línea 3 de executions.jsonl (iniciada el "
            "2026-12-09T03:38:18Z), con la misma semilla, reloj, instancia, parámetros y versión: "
            "sus ejecuciones serán copias exactas de aquellas\n")
      << "blank lines count, as a reader counts lines";
  EXPECT_EQ(repeatedExecutionWarning(log, execution(3)), "");
  EXPECT_EQ(repeatedExecutionWarning("", execution(1)), "");

  ExecutionRecord rebuilt = execution(1);
  rebuilt.commit = "fedcba9876543210fedcba9876543210fedcba98";
  EXPECT_NE(repeatedExecutionWarning(log, rebuilt), "")
      << "the version names what the program does; the commit is not compared";
  ExecutionRecord otherVersion = execution(1);
  otherVersion.version = "v2";
  EXPECT_EQ(repeatedExecutionWarning(log, otherVersion), "");
}

TEST(RepeatedExecutionWarning, AnEarlierExecutionStoppedByASignalIsRepeatedAsFarAsItGot) {
  ExecutionRecord stopped = execution(1);
  stopped.runs.resize(1);
  stopped.runs[0].cut = true;
  stopped.exitStatus = 143;
  EXPECT_EQ(repeatedExecutionWarning(lineOf(stopped), execution(1)),
            "Aviso: esta ejecución repite la de la línea 1 de executions.jsonl (iniciada el "
            "2026-12-09T03:38:18Z), con la misma semilla, reloj, instancia, parámetros y versión: "
            "sus ejecuciones serán copias exactas de aquellas hasta donde llegaron\n");
}

TEST(RepeatedExecutionWarning, ARecordThatCannotBeReadWarnsOfNothing) {
  const std::string good = lineOf(execution(1));
  EXPECT_EQ(repeatedExecutionWarning(good + "{\"runs\":\n", execution(1)), "");
  EXPECT_EQ(repeatedExecutionWarning(std::string("\x01\xff") + good, execution(1)), "");
  EXPECT_EQ(repeatedExecutionWarning(good.substr(0, good.size() / 2), execution(1)), "");
  // A start time no program wrote is shown escaped, never as bytes a terminal acts on.
  std::string odd = good;
  odd.replace(odd.find("2026-12-09T03:38:18Z"), 20, "\\u001b[2J");
  EXPECT_EQ(repeatedExecutionWarning(odd, execution(1)).find('\x1b'), std::string::npos);
  EXPECT_NE(repeatedExecutionWarning(odd, execution(1)).find("(iniciada el \\x1b[2J)"),
            std::string::npos)
      << repeatedExecutionWarning(odd, execution(1));
}

// Only a regular file is read: a device could be read forever, a named pipe would wait.
TEST(RepeatedExecutionWarning, OnlyARegularFileIsReadForIt) {
  const std::string folder = makeTempFolder();
  writeFile(folder + "record", "{}\n");
  EXPECT_EQ(readRecordForWarning(folder + "record"), "{}\n");
  EXPECT_EQ(readRecordForWarning(folder + "missing"), std::nullopt);
  EXPECT_EQ(readRecordForWarning(folder), std::nullopt);
  EXPECT_EQ(readRecordForWarning("/dev/zero"), std::nullopt);
  ASSERT_EQ(mkfifo((folder + "pipe").c_str(), 0644), 0);
  EXPECT_EQ(readRecordForWarning(folder + "pipe"), std::nullopt);
}

}  // namespace jobshop
