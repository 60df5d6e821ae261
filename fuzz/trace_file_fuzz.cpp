// Fuzzing "D_Sal_Traza.txt": the reader never throws, names the file and line of every problem in
// printable text, and keeps only whole runs whose rows hold together; what it keeps writes back to
// a text that reads the same.
#include <cstdint>

#include "fuzz_checks.h"
#include "results/trace_file.h"

using namespace jobshop;

namespace {

void checkBlock(const TraceBlock& block) {
  if (block.broken) {
    fuzzCheck(block.trace.empty(), "a broken run keeps no rows");
    return;
  }
  fuzzCheck(!block.trace.empty(), "a whole run has its generation 0");
  for (std::size_t g = 0; g < block.trace.size(); ++g) {
    const GenerationTrace& row = block.trace[g];
    fuzzCheck(row.generation == static_cast<int>(g), "generations go 0, 1, 2, ...");
    fuzzCheck(row.held <= row.distinct && row.held <= row.found, "held within distinct and found");
    if (g == 0) continue;
    fuzzCheck(row.evaluations >= block.trace[g - 1].evaluations, "evaluations never go down");
    fuzzCheck(row.found >= block.trace[g - 1].found, "found never goes down");
  }
}

void checkRewrite(const TraceBlock& block) {
  if (block.broken) return;
  const std::string written = traceRowsText(block.run, block.trace);
  std::vector<std::string> problems;
  const std::vector<TraceBlock> again = parseTraceFile(kTraceHeader + written, problems);
  fuzzCheck(problems.empty() && again.size() == 1, "a kept run writes back whole");
  fuzzCheck(traceRowsText(again[0].run, again[0].trace) == written, "and reads back the same");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(fuzzText(data, size));
  std::vector<std::string> problems;
  const std::vector<TraceBlock> blocks = parseTraceFile(text, problems);
  for (const std::string& problem : problems) {
    fuzzCheck(problem.rfind("D_Sal_Traza.txt line ", 0) == 0, "a problem names file and line");
    fuzzCheck(isPrintableUtf8(problem), "a problem is printable UTF-8");
  }
  std::int64_t previousOffset = -1;
  for (const TraceBlock& block : blocks) {
    fuzzCheck(block.offset > previousOffset && block.offset < static_cast<std::int64_t>(size),
              "runs start in order inside the text");
    previousOffset = block.offset;
    checkBlock(block);
    checkRewrite(block);
  }
  return 0;
}
