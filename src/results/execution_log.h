// Reading "executions.jsonl", the main run's record of each execution (seed, clock, version,
// parameters, and per run its time, generations and evaluations), as results/execution_record
// writes it and as records from older versions have it: every field of a run may be absent.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "results/execution_record.h"

namespace jobshop {

struct LoggedRun {
  int run = 0;  // 1-based within its execution
  std::optional<double> bestMakespan;
  std::optional<std::int64_t> generations;
  std::optional<std::int64_t> evaluations;
  std::optional<std::int64_t> targetGeneration;   // absent when never reached
  std::optional<std::int64_t> targetEvaluations;  // evaluations spent by then
  std::optional<double> seconds;
  std::optional<bool> cut;                  // a signal stopped the run before its budget was spent
  std::optional<bool> abandonedGeneration;  // the stop came inside a generation, given up
  // Where the run's records start in the five result files, in the order of kResultFileNames.
  // offsetsRecorded tells a record written before offsets existed (runs then pair by counting)
  // from one whose run had its records not written (offsets null: the run has none to pair).
  bool offsetsRecorded = false;
  std::optional<std::array<std::int64_t, 5>> offsets;
  // Where the run's first row starts in "D_Sal_Traza.txt". traceOffsetRecorded tells a record
  // from before the trace existed (its runs take the trace's blocks in order) from a run whose
  // trace was not written (null: it has none).
  bool traceOffsetRecorded = false;
  std::optional<std::int64_t> traceOffset;
};

struct LoggedExecution {
  int number = 0;  // 1-based position among the well-formed lines
  int line = 0;    // 1-based line in "executions.jsonl"
  std::string version;
  std::string commit;  // the build's repository state; absent (empty) from older records
  std::string started;
  std::optional<std::uint32_t> seed;  // absent under the wall clock
  bool seedGiven = false;
  bool wallClock = false;
  // "hashed", "linear" or "wall"; a record from before the field was written used the S + k
  // readings ("linear") or the wall clock.
  std::string clock;
  std::optional<int> jobs, machines, target;
  std::string instanceSha256;  // of "D_Entrada.txt"; empty when the record has none
  // Every field of the parameter file in the order written, values as they are shown.
  std::vector<std::pair<std::string, std::string>> parameters;
  std::optional<std::int64_t> runCount;
  // The method and its settings as the run resolved them; crowding for a record from before
  // methods were recorded.
  NichingSettings niching;
  std::vector<LoggedRun> runs;
  std::optional<int> exitStatus;  // 130 or 143 when a signal stopped the execution
};

// True when the execution was stopped by SIGINT or SIGTERM.
bool interrupted(const LoggedExecution& execution);

// True when later made exactly what earlier made: the same seed (not the wall clock), the same
// instance bytes, the same parameters, the same niching method and settings and the same version.
// Such an execution's runs are copies of the earlier one's, as far as the earlier one got.
bool repeats(const LoggedExecution& later, const LoggedExecution& earlier);

struct ExecutionLog {
  bool present = false;  // false when the folder has no such file (written by older versions)
  std::vector<LoggedExecution> executions;
  // Set at the first malformed line: the runs of that line are unknown, so the runs of the lines
  // after it that recorded no offsets cannot be matched to runs either.
  std::optional<int> brokenLine;
};

// Parses the JSON Lines text; blank lines are skipped and unknown fields ignored. A line that is
// not a JSON object with the documented fields and types is reported in problems as
// "executions.jsonl:LINE: REASON" and skipped; the first such line is brokenLine. Never throws.
ExecutionLog parseExecutionLog(const std::string& text, std::vector<std::string>& problems);

// The number of the first execution of the log, before execution itself, that execution repeats;
// nullopt when there is none.
std::optional<int> repeatedExecution(const ExecutionLog& log, const LoggedExecution& execution);

}  // namespace jobshop
