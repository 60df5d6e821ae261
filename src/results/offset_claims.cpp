// Placing the runs of "executions.jsonl" by the byte offsets each recorded for its records.
#include "results/offset_claims.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "results/result_files.h"
#include "support/number_format.h"

namespace jobshop {

namespace {

using Offsets = std::array<std::int64_t, 5>;

// The entry starting at offset, by binary search: entries are in file order.
template <typename Entry>
std::optional<std::size_t> entryAt(const std::vector<Entry>& entries, std::int64_t offset) {
  const auto found =
      std::lower_bound(entries.begin(), entries.end(), offset,
                       [](const Entry& entry, std::int64_t value) { return entry.offset < value; });
  if (found == entries.end() || found->offset != offset) return std::nullopt;
  return static_cast<std::size_t>(found - entries.begin());
}

// Why a run cannot be placed; empty while it can.
struct Placement {
  RunPieces pieces;
  std::string failure;
};

std::string notARecordStart(const ParsedResultFiles& files, std::size_t file, std::int64_t offset) {
  const std::string name = kResultFileNames[file];
  if (offset > files.sizes[file]) {
    return "its offset " + std::to_string(offset) + " in " + name + " is beyond the end of the " +
           "file (" + std::to_string(files.sizes[file]) + " bytes)";
  }
  return "no record of " + name + " starts at its offset " + std::to_string(offset);
}

// The entry a run wrote to file, which must start at its offset.
template <typename Entry>
std::optional<std::size_t> required(const ParsedResultFiles& files,
                                    const std::vector<Entry>& entries, std::size_t file,
                                    const Offsets& offsets, Placement& placement) {
  if (!placement.failure.empty()) return std::nullopt;
  const std::optional<std::size_t> index = entryAt(entries, offsets[file]);
  if (!index) placement.failure = notARecordStart(files, file, offsets[file]);
  return index;
}

// A file the run wrote nothing to: its offset is where the next record starts, or the end.
template <typename Entry>
void boundary(const ParsedResultFiles& files, const std::vector<Entry>& entries, std::size_t file,
              const Offsets& offsets, Placement& placement) {
  if (!placement.failure.empty() || offsets[file] == files.sizes[file]) return;
  if (!entryAt(entries, offsets[file])) {
    placement.failure = notARecordStart(files, file, offsets[file]);
  }
}

Placement place(const ParsedResultFiles& files, const LoggedRun& logged, int targetMakespan) {
  const Offsets& offsets = *logged.offsets;
  Placement placement;
  placement.pieces.progress = required(files, files.progress, 0, offsets, placement);
  const std::optional<std::size_t> best = required(files, files.bests, 1, offsets, placement);
  if (!placement.failure.empty()) return placement;
  placement.pieces.best = *best;
  const std::optional<double> value = bestOfPieces(files, placement.pieces);
  if (!value) {
    placement.failure = "the best makespan at its offsets is unknown";
    return placement;
  }
  // The record holds the float the run kept; the file its one-decimal rendering.
  if (logged.bestMakespan && std::fabs(*logged.bestMakespan - *value) >= 0.05) {
    placement.failure = "it ended at " + fixedNumber(*logged.bestMakespan, 1) + ", but the line " +
                        "at its offset in " + kOptimaFileName + " says " + fixedNumber(*value, 1);
    return placement;
  }
  if (*value <= static_cast<double>(targetMakespan)) {
    placement.pieces.count = required(files, files.counts, 2, offsets, placement);
    placement.pieces.block = required(files, files.blocks, 4, offsets, placement);
  } else {
    boundary(files, files.counts, 2, offsets, placement);
    boundary(files, files.blocks, 4, offsets, placement);
  }
  if (!placement.failure.empty()) return placement;
  const std::optional<int> distinct = distinctOfPieces(files, placement.pieces);
  if (placement.pieces.count && distinct && *distinct >= 2) {
    placement.pieces.distance = required(files, files.distances, 3, offsets, placement);
  } else {
    boundary(files, files.distances, 3, offsets, placement);
  }
  return placement;
}

struct Taken {
  std::vector<bool> progress, bests, counts, distances, blocks;
};

bool taken(const std::vector<bool>& marks, const std::optional<std::size_t>& index) {
  return index && marks[*index];
}

void take(std::vector<bool>& marks, const std::optional<std::size_t>& index) {
  if (index) marks[*index] = true;
}

bool anyTaken(const Taken& t, const RunPieces& p) {
  return t.bests[p.best] || taken(t.progress, p.progress) || taken(t.counts, p.count) ||
         taken(t.distances, p.distance) || taken(t.blocks, p.block);
}

void takeAll(Taken& t, const RunPieces& p) {
  t.bests[p.best] = true;
  take(t.progress, p.progress);
  take(t.counts, p.count);
  take(t.distances, p.distance);
  take(t.blocks, p.block);
}

void noteUnplaced(const LoggedExecution& execution, const std::string& first, int runs,
                  std::vector<std::string>& problems) {
  if (runs == 0) return;
  std::string text = std::string(kExecutionRecordFileName) + ":" + std::to_string(execution.line) +
                     ": " + first + "; the run is shown without its record";
  if (runs > 1) {
    text += " (and " + std::to_string(runs - 1) + " more " + (runs == 2 ? "run" : "runs") +
            " of this execution whose offsets do not lead to their records)";
  }
  problems.push_back(text);
}

}  // namespace

std::vector<ClaimedRun> claimRunsByOffsets(const ParsedResultFiles& files, const ExecutionLog& log,
                                           int targetMakespan, std::vector<std::string>& problems) {
  Taken taken{std::vector<bool>(files.progress.size()), std::vector<bool>(files.bests.size()),
              std::vector<bool>(files.counts.size()), std::vector<bool>(files.distances.size()),
              std::vector<bool>(files.blocks.size())};
  std::vector<ClaimedRun> claimed;
  for (const LoggedExecution& execution : log.executions) {
    std::string first;
    int unplaced = 0;
    for (const LoggedRun& logged : execution.runs) {
      if (!logged.offsets) continue;
      Placement placement = place(files, logged, targetMakespan);
      if (placement.failure.empty() && anyTaken(taken, placement.pieces)) {
        placement.failure = "the records at its offsets are already another recorded run's";
      }
      if (!placement.failure.empty()) {
        if (unplaced++ == 0) first = "run " + std::to_string(logged.run) + ": " + placement.failure;
        continue;
      }
      takeAll(taken, placement.pieces);
      claimed.push_back(ClaimedRun{placement.pieces, execution.number, logged});
    }
    noteUnplaced(execution, first, unplaced, problems);
  }
  return claimed;
}

}  // namespace jobshop
