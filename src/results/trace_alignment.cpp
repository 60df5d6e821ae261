// Pairing the blocks of "D_Sal_Traza.txt" with the runs of the five result files.
#include "results/trace_alignment.h"

#include <cstdint>
#include <cstdio>

namespace jobshop {

namespace {

bool recordsTrace(const RunRecord& run) { return run.logged && run.logged->traceOffsetRecorded; }

// Where the run's execution is in "executions.jsonl", for messages.
std::string recordLine(const ExecutionLog& log, const RunRecord& run) {
  const std::size_t index = static_cast<std::size_t>(run.execution) - 1;
  const int line = index < log.executions.size() ? log.executions[index].line : 0;
  return std::string(kExecutionRecordFileName) + ":" + std::to_string(line) + ": run " +
         std::to_string(run.logged->run) + ": ";
}

std::optional<std::size_t> blockAt(const std::vector<TraceBlock>& blocks, std::int64_t offset) {
  for (std::size_t b = 0; b < blocks.size(); ++b)
    if (blocks[b].offset == offset) return b;
  return std::nullopt;
}

// Why block cannot be run's, or "" when it can: a trace whose last best is not the run's best
// makespan belongs to another run.
std::string mismatch(const TraceBlock& block, const RunRecord& run) {
  if (block.broken || block.trace.empty()) return "";
  const double last = static_cast<double>(block.trace.back().best);
  if (last == run.best) return "";
  char text[96];
  std::snprintf(text, sizeof text, "ends at a best makespan of %.1f, not the run's %.1f", last,
                run.best);
  return text;
}

struct Pairing {
  const std::vector<TraceBlock>& blocks;
  std::vector<bool> taken;
  std::vector<std::string>& problems;
};

void placeByOffset(Pairing& pairing, const ExecutionLog& log, RunRecord& run, std::int64_t offset) {
  const std::optional<std::size_t> found = blockAt(pairing.blocks, offset);
  const std::string where = recordLine(log, run);
  if (!found) {
    pairing.problems.push_back(where + "no run's rows of " + kTraceFileName +
                               " start at its trace offset " + std::to_string(offset) +
                               "; the run is shown without its trace");
    return;
  }
  const TraceBlock& block = pairing.blocks[*found];
  std::string reason = pairing.taken[*found] ? "another run already took them" : "";
  if (reason.empty() && block.run != run.logged->run)
    reason = "they are run " + std::to_string(block.run) + "'s";
  if (reason.empty()) reason = mismatch(block, run);
  if (!reason.empty()) {
    pairing.problems.push_back(where + "the rows at its trace offset " + std::to_string(offset) +
                               " (" + kTraceFileName + " line " + std::to_string(block.firstLine) +
                               ") are not its own: " + reason +
                               "; the run is shown without its trace");
    return;
  }
  pairing.taken[*found] = true;
  run.trace = block.trace;
}

void placeInOrder(Pairing& pairing, std::vector<RunRecord>& runs) {
  std::size_t next = 0;
  for (RunRecord& run : runs) {
    if (recordsTrace(run)) continue;
    while (next < pairing.blocks.size() && pairing.taken[next]) ++next;
    if (next == pairing.blocks.size()) return;
    const TraceBlock& block = pairing.blocks[next];
    pairing.taken[next++] = true;
    if (const std::string reason = mismatch(block, run); !reason.empty()) {
      pairing.problems.push_back(
          std::string(kTraceFileName) + " line " + std::to_string(block.firstLine) +
          ": the rows taken in order for " + "run " + std::to_string(run.run) + " " + reason +
          "; the run is shown without its trace");
      continue;
    }
    run.trace = block.trace;
  }
}

void noteLeftOver(const Pairing& pairing) {
  for (std::size_t b = 0; b < pairing.blocks.size(); ++b)
    if (!pairing.taken[b])
      pairing.problems.push_back(std::string(kTraceFileName) + " line " +
                                 std::to_string(pairing.blocks[b].firstLine) +
                                 ": rows of a run that no result record accounts for");
}

}  // namespace

void attachTraces(const std::optional<std::string>& traceText, const ExecutionLog& log,
                  std::vector<RunRecord>& runs, std::vector<std::string>& problems) {
  if (!traceText) {
    for (const RunRecord& run : runs)
      if (recordsTrace(run) && run.logged->traceOffset) {
        problems.push_back("cannot read " + std::string(kTraceFileName) +
                           ", where the record places the rows of its runs; they are shown "
                           "without their traces");
        return;
      }
    return;
  }
  const std::vector<TraceBlock> blocks = parseTraceFile(*traceText, problems);
  Pairing pairing{blocks, std::vector<bool>(blocks.size(), false), problems};
  for (RunRecord& run : runs)
    if (recordsTrace(run) && run.logged->traceOffset)
      placeByOffset(pairing, log, run, *run.logged->traceOffset);
  placeInOrder(pairing, runs);
  noteLeftOver(pairing);
}

}  // namespace jobshop
