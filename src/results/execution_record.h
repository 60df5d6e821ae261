// The record of one execution appended to "executions.jsonl": what ran (version, commit, seed,
// clock, instance, parameters), what each run gave, and how the execution ended.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "evolution/run_result.h"
#include "input/parameters.h"
#include "results/result_files.h"
#include "support/failure.h"

namespace jobshop {

inline const char* const kExecutionRecordFileName = "executions.jsonl";

struct RunSummary {
  int run = 0;  // 1-based within the execution
  float bestMakespan = 0.0f;
  int generations = 0;
  std::int64_t evaluations = 0;
  std::optional<int> targetGeneration;  // first generation at or below the target; 0 = initial
  std::optional<std::int64_t> targetEvaluations;  // evaluations spent by the end of that one
  // 0 when the best makespan is above the target; absent from the records of older versions,
  // which left it out when the analysis files could not be opened.
  std::optional<int> distinctOptima;
  double seconds = 0.0;
  // A signal stopped the run before its budget was spent.
  bool cut = false;
  // The stop came inside a generation, whose work was thrown away: the run closed with the
  // population (and the evaluation count) as they stood before it.
  bool abandonedGeneration = false;
  // Byte offsets at which the run's records start in the five result files, in the order of
  // kResultFileNames; absent when its records were not written.
  std::optional<std::array<std::int64_t, 5>> offsets;
  // Byte offset of the run's first row in "D_Sal_Traza.txt"; absent when it was not written.
  std::optional<std::int64_t> traceOffset;
};

// The summary of a finished run whose records start at `offsets` in the five result files and
// whose trace starts at traceOffset (each absent when not written).
RunSummary summariseRun(const RunResult& result,
                        const std::optional<std::array<std::int64_t, 5>>& offsets,
                        std::optional<std::int64_t> traceOffset = std::nullopt);

struct ExecutionRecord {
  std::string version;
  // The full hash of the commit the program was built from, "-dirty" appended when tracked files
  // had changed; absent for a build outside a repository.
  std::optional<std::string> commit;
  std::time_t started = 0;
  std::optional<std::uint32_t> seed;  // absent under --wall-clock
  bool seedGiven = false;
  bool wallClock = false;
  std::string clock = "hashed";  // the clock scheme: "hashed", "linear" or "wall"
  int jobs = 0;
  int machines = 0;
  int targetMakespan = 0;
  std::string instanceSha256;  // of the bytes of "D_Entrada.txt", lower-case hex
  Parameters parameters;
  std::vector<RunSummary> runs;
  int exitStatus = 0;
};

// The record as one JSON object on one line, ending in a line feed.
std::string executionRecordLine(const ExecutionRecord& record);

// `time` as ISO 8601 in UTC with whole seconds ("2026-12-09T03:40:00Z").
std::string isoUtc(std::time_t time);

// Appends the line to path with a single write, so that no reader ever sees half a record.
// Fails with the system's reason.
MaybeFailure appendExecutionRecord(const std::string& path, const std::string& line);

}  // namespace jobshop
