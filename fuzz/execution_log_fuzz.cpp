// Fuzzing "executions.jsonl": the reader never throws, and stops at the first line it refuses.
#include <algorithm>
#include <cstdint>

#include "fuzz_checks.h"
#include "results/execution_log.h"

using namespace jobshop;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> problems;
  const ExecutionLog log = parseExecutionLog(std::string(fuzzText(data, size)), problems);
  fuzzCheck(log.present, "a parsed log is present");
  fuzzCheck(problems.empty() == !log.brokenLine, "problems exactly when broken");
  int previousLine = 0;
  for (std::size_t k = 0; k < log.executions.size(); ++k) {
    const LoggedExecution& execution = log.executions[k];
    fuzzCheck(execution.number == static_cast<int>(k) + 1, "executions numbered in order");
    fuzzCheck(execution.line > previousLine, "lines rise");
    fuzzCheck(!log.brokenLine || execution.line != *log.brokenLine, "the broken line is not read");
    fuzzCheck(!execution.runCount || std::max<std::int64_t>(*execution.runCount, 1) >=
                                         static_cast<std::int64_t>(execution.runs.size()),
              "no more runs than runCount makes");
    previousLine = execution.line;
  }
  return 0;
}
