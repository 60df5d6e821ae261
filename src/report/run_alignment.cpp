// Aligning the parsed result files run by run: every run has a best line, and a run that reached
// the target also has a count, a solution block and, with two or more optima, an average distance.
#include "report/run_alignment.h"

#include <cstdio>

#include "report/optimum_distances.h"
#include "results/result_files.h"

namespace {

std::string fixed(double value, int decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  return buffer;
}

std::string moreLines(int count) {
  if (count == 0) return {};
  return " (and " + std::to_string(count) + (count == 1 ? " more line" : " more lines") +
         " of its block)";
}

std::string runLabel(int run) { return "run " + std::to_string(run) + ": "; }

std::string lineOf(const std::string& fileName, int line) {
  return fileName + " line " + std::to_string(line);
}

int firstLineOf(const NumberLine& entry) { return entry.line; }
int firstLineOf(const SolutionBlock& entry) { return entry.firstLine; }

// Walks the entries of one file that belong only to the runs that reached the target.
template <typename Entry>
struct Cursor {
  const std::vector<Entry>& entries;
  std::size_t next = 0;
  const Entry* take() { return next < entries.size() ? &entries[next++] : nullptr; }
};

template <typename Entry>
void noteLeftovers(const Cursor<Entry>& cursor, const std::string& fileName, const char* what,
                   std::vector<std::string>& problems) {
  if (cursor.next >= cursor.entries.size()) return;
  const std::size_t extra = cursor.entries.size() - cursor.next;
  problems.push_back(fileName + " holds " + std::to_string(extra) + " " + what +
                     (extra == 1 ? "" : "s") + " more than the runs account for (from line " +
                     std::to_string(firstLineOf(cursor.entries[cursor.next])) + " on)");
}

struct RunCursors {
  Cursor<NumberLine> counts;
  Cursor<NumberLine> distances;
  Cursor<SolutionBlock> blocks;
};

// The solutions of a reached run: the count line, the block, and the distance line when the run
// had two or more distinct optima, each checked against the others.
void attachOptima(RunRecord& run, RunCursors& cursors, std::vector<std::string>& problems) {
  const std::string label = runLabel(run.run);
  const NumberLine* count = cursors.counts.take();
  const SolutionBlock* block = cursors.blocks.take();
  if (count == nullptr) {
    problems.push_back(label + "it reached the target but " + kOptimumCountFileName +
                       " has no line left for it");
  } else if (count->value && *count->value < 1.0) {
    problems.push_back(lineOf(kOptimumCountFileName, count->line) + ": a run that reached the " +
                       "target has at least one optimum, not " + fixed(*count->value, 0));
  }
  if (block == nullptr) {
    problems.push_back(label + "it reached the target but " + kSolutionFileName +
                       " has no block left for it");
  }
  std::optional<int> distinct;
  if (count != nullptr && count->value) {
    distinct = static_cast<int>(*count->value);
  } else if (block != nullptr) {
    distinct = block->lineCount;
  }
  run.distinctOptima = distinct;
  if (block != nullptr) {
    run.solutions = block->solutions;
    if (count != nullptr && count->value && block->lineCount != *distinct) {
      problems.push_back(lineOf(kOptimumCountFileName, count->line) + " counts " +
                         std::to_string(*distinct) + " distinct optima for run " +
                         std::to_string(run.run) + ", but its block at " +
                         lineOf(kSolutionFileName, block->firstLine) + " holds " +
                         std::to_string(block->lineCount) + " lines");
    }
    // A block that belongs to another run usually differs on every line: one message for it.
    const int best = static_cast<int>(run.best);
    const RecordedSolution* first = nullptr;
    int others = 0;
    for (const RecordedSolution& solution : run.solutions) {
      if (solution.makespan == best) continue;
      if (first == nullptr) {
        first = &solution;
      } else {
        ++others;
      }
    }
    if (first != nullptr) {
      problems.push_back(lineOf(kSolutionFileName, first->line) + ": makespan " +
                         std::to_string(first->makespan) + " is not run " +
                         std::to_string(run.run) + "'s best, " + fixed(run.best, 1) +
                         moreLines(others));
    }
  }
  std::vector<std::vector<int>> matrix = distanceMatrix(run.solutions);
  for (std::size_t i = 0; i < matrix.size(); ++i) {
    for (std::size_t j = i + 1; j < matrix.size(); ++j) {
      if (matrix[i][j] == 0) {
        problems.push_back(lineOf(kSolutionFileName, run.solutions[j].line) +
                           ": the same machine sequences as line " +
                           std::to_string(run.solutions[i].line) + ", but optima are distinct");
      }
    }
  }
  if (!distinct || *distinct < 2) return;
  const NumberLine* distance = cursors.distances.take();
  if (distance == nullptr) {
    problems.push_back(label + "it has " + std::to_string(*distinct) + " distinct optima but " +
                       kDistanceFileName + " has no line left for it");
    return;
  }
  run.averageDistance = distance->value;
  std::optional<float> recomputed = averagePairDistance(matrix);
  if (distance->value && recomputed && static_cast<int>(matrix.size()) == *distinct &&
      fixed(*distance->value, 2) != fixed(static_cast<double>(*recomputed), 2)) {
    problems.push_back(lineOf(kDistanceFileName, distance->line) + " gives run " +
                       std::to_string(run.run) + " an average distance of " +
                       fixed(*distance->value, 2) + ", but its solutions give " +
                       fixed(static_cast<double>(*recomputed), 2));
  }
}

}  // namespace

std::vector<RunRecord> alignRuns(const ParsedResultFiles& files, int targetMakespan,
                                 std::vector<std::string>& problems) {
  const std::size_t progressCount = files.progress.size();
  const std::size_t runCount = files.bests.size();
  if (progressCount != runCount) {
    problems.push_back(std::string(kProgressFileName) + " holds " + std::to_string(progressCount) +
                       " run records but " + kOptimaFileName + " holds " +
                       std::to_string(runCount) + " lines; runs are taken in order from both");
  }
  RunCursors cursors{{files.counts}, {files.distances}, {files.blocks}};
  std::vector<RunRecord> runs;
  for (std::size_t i = 0; i < runCount; ++i) {
    RunRecord run;
    run.run = static_cast<int>(i) + 1;
    const ProgressRecord* progress = i < progressCount ? &files.progress[i] : nullptr;
    if (progress != nullptr) run.progress = progress->steps;
    const NumberLine& bestLine = files.bests[i];
    if (bestLine.value) {
      run.best = *bestLine.value;
      if (!run.progress.empty() && run.progress.back().makespan != run.best) {
        problems.push_back(lineOf(kOptimaFileName, bestLine.line) + " gives run " +
                           std::to_string(run.run) + " the best " + fixed(run.best, 1) +
                           ", but its record at " + lineOf(kProgressFileName, progress->firstLine) +
                           " ends at " + fixed(run.progress.back().makespan, 1));
      }
    } else if (!run.progress.empty()) {
      run.best = run.progress.back().makespan;
    } else {
      problems.push_back(runLabel(run.run) +
                         "its best makespan is unknown, so it and the runs after it cannot be "
                         "aligned");
      break;
    }
    run.reachedTarget = run.best <= static_cast<double>(targetMakespan);
    if (run.reachedTarget) attachOptima(run, cursors, problems);
    runs.push_back(std::move(run));
  }
  noteLeftovers(cursors.counts, kOptimumCountFileName, "line", problems);
  noteLeftovers(cursors.distances, kDistanceFileName, "line", problems);
  noteLeftovers(cursors.blocks, kSolutionFileName, "block", problems);
  return runs;
}
