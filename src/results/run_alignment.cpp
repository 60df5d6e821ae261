// Aligning the parsed result files run by run: every run has a best line, and a run that reached
// the target also has a count, a solution block and, with two or more optima, an average distance.
#include "results/run_alignment.h"

#include <algorithm>
#include <cstdio>

#include "results/optimum_distances.h"
#include "results/repeated_solutions.h"
#include "results/result_files.h"
#include "support/number_format.h"

namespace jobshop {

namespace {

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

template <typename Entry>
const Entry* entryOf(const std::vector<Entry>& entries, const std::optional<std::size_t>& index) {
  return index ? &entries[*index] : nullptr;
}

// Which entries of each file a record's offsets already gave to a run.
struct ClaimMarks {
  std::vector<bool> progress, bests, counts, distances, blocks;
};

void mark(std::vector<bool>& marks, const std::optional<std::size_t>& index) {
  if (index) marks[*index] = true;
}

ClaimMarks claimMarks(const ParsedResultFiles& files, const std::vector<ClaimedRun>& claimed) {
  ClaimMarks marks{std::vector<bool>(files.progress.size()), std::vector<bool>(files.bests.size()),
                   std::vector<bool>(files.counts.size()),
                   std::vector<bool>(files.distances.size()),
                   std::vector<bool>(files.blocks.size())};
  for (const ClaimedRun& claim : claimed) {
    mark(marks.progress, claim.pieces.progress);
    marks.bests[claim.pieces.best] = true;
    mark(marks.counts, claim.pieces.count);
    mark(marks.distances, claim.pieces.distance);
    mark(marks.blocks, claim.pieces.block);
  }
  return marks;
}

std::size_t unmarked(const std::vector<bool>& marks) {
  return static_cast<std::size_t>(std::count(marks.begin(), marks.end(), false));
}

// Walks, in order, the entries of one file that no record's offsets claimed.
struct Cursor {
  const std::vector<bool>& claimed;
  std::size_t next = 0;
  std::optional<std::size_t> take() {
    while (next < claimed.size() && claimed[next]) ++next;
    if (next >= claimed.size()) return std::nullopt;
    return next++;
  }
};

template <typename Entry>
void noteLeftovers(Cursor cursor, const std::vector<Entry>& entries, const std::string& fileName,
                   const char* what, std::vector<std::string>& problems) {
  const std::optional<std::size_t> first = cursor.take();
  if (!first) return;
  std::size_t extra = 1;
  while (cursor.take()) ++extra;
  problems.push_back(fileName + " holds " + std::to_string(extra) + " " + what +
                     (extra == 1 ? "" : "s") + " more than the runs account for (from line " +
                     std::to_string(firstLineOf(entries[*first])) + " on)");
}

struct CountingCursors {
  Cursor progress, counts, distances, blocks;
};

// The solutions of a reached run that no record placed: the next count line and block, and the
// next distance line when they give two or more distinct optima.
void takeOptimaPieces(const ParsedResultFiles& files, RunPieces& pieces, CountingCursors& cursors) {
  pieces.count = cursors.counts.take();
  pieces.block = cursors.blocks.take();
  const std::optional<int> distinct = distinctOfPieces(files, pieces);
  if (distinct && *distinct >= 2) pieces.distance = cursors.distances.take();
}

// A reached run needs a count line of at least one optimum and a block of solutions.
void checkOptimaPresent(const RunRecord& run, const NumberLine* count, const SolutionBlock* block,
                        std::vector<std::string>& problems) {
  const std::string label = runLabel(run.run);
  if (count == nullptr) {
    problems.push_back(label + "it reached the target but " + kOptimumCountFileName +
                       " has no line left for it");
  } else if (count->value && *count->value < 1.0) {
    problems.push_back(lineOf(kOptimumCountFileName, count->line) + ": a run that reached the " +
                       "target has at least one optimum, not " + fixedNumber(*count->value, 0));
  }
  if (block == nullptr) {
    problems.push_back(label + "it reached the target but " + kSolutionFileName +
                       " has no block left for it");
  }
}

// The block's length against the count line, and every solution's makespan against the run's best.
void checkBlock(const RunRecord& run, const NumberLine* count, const SolutionBlock& block,
                std::vector<std::string>& problems) {
  if (count != nullptr && count->value && run.distinctOptima &&
      block.lineCount != *run.distinctOptima) {
    problems.push_back(lineOf(kOptimumCountFileName, count->line) + " counts " +
                       std::to_string(*run.distinctOptima) + " distinct optima for run " +
                       std::to_string(run.run) + ", but its block at " +
                       lineOf(kSolutionFileName, block.firstLine) + " holds " +
                       std::to_string(block.lineCount) + " lines");
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
                       std::to_string(first->makespan) + " is not run " + std::to_string(run.run) +
                       "'s best, " + fixedNumber(run.best, 1) + moreLines(others));
  }
}

// Enough to show what is wrong; a block that repeats a line thousands of times would otherwise
// print millions of pairs.
constexpr std::size_t kListedRepeats = 100;

void checkDistinct(const RunRecord& run, std::vector<std::string>& problems) {
  const RepeatedSolutions repeated = repeatedSolutions(run.solutions, kListedRepeats);
  for (const auto& [i, j] : repeated.pairs) {
    problems.push_back(lineOf(kSolutionFileName, run.solutions[j].line) +
                       ": the same machine sequences as line " +
                       std::to_string(run.solutions[i].line) + ", but optima are distinct");
  }
  const std::size_t unlisted = repeated.total - repeated.pairs.size();
  if (unlisted > 0) {
    problems.push_back(runLabel(run.run) + std::to_string(unlisted) +
                       (unlisted == 1 ? " more pair" : " more pairs") + " of lines in " +
                       kSolutionFileName + " hold the same machine sequences");
  }
}

// A run of two or more distinct optima has an average distance line that its solutions give.
void attachAverageDistance(RunRecord& run, const NumberLine* distance,
                           std::vector<std::string>& problems) {
  const int distinct = *run.distinctOptima;
  if (distance == nullptr) {
    problems.push_back(runLabel(run.run) + "it has " + std::to_string(distinct) +
                       " distinct optima but " + kDistanceFileName + " has no line left for it");
    return;
  }
  run.averageDistance = distance->value;
  if (!distance->value || static_cast<int>(run.solutions.size()) != distinct) return;
  const std::optional<float> recomputed = averagePairDistance(run.solutions);
  if (recomputed &&
      fixedNumber(*distance->value, 2) != fixedNumber(static_cast<double>(*recomputed), 2)) {
    problems.push_back(lineOf(kDistanceFileName, distance->line) + " gives run " +
                       std::to_string(run.run) + " an average distance of " +
                       fixedNumber(*distance->value, 2) + ", but its solutions give " +
                       fixedNumber(static_cast<double>(*recomputed), 2));
  }
}

// The solutions of a reached run, each checked against the others.
void attachOptima(RunRecord& run, const ParsedResultFiles& files, const RunPieces& pieces,
                  std::vector<std::string>& problems) {
  const NumberLine* count = entryOf(files.counts, pieces.count);
  const SolutionBlock* block = entryOf(files.blocks, pieces.block);
  checkOptimaPresent(run, count, block, problems);
  run.distinctOptima = distinctOfPieces(files, pieces);
  if (block != nullptr) {
    run.solutions = block->solutions;
    checkBlock(run, count, *block, problems);
  }
  checkDistinct(run, problems);
  if (run.distinctOptima && *run.distinctOptima >= 2)
    attachAverageDistance(run, entryOf(files.distances, pieces.distance), problems);
}

RunRecord assembleRun(const ParsedResultFiles& files, const RunPieces& pieces, int number,
                      double best, int targetMakespan, std::vector<std::string>& problems) {
  RunRecord run;
  run.run = number;
  const ProgressRecord* progress = entryOf(files.progress, pieces.progress);
  if (progress != nullptr) run.progress = progress->steps;
  const NumberLine& bestLine = files.bests[pieces.best];
  run.best = best;
  if (bestLine.value && !run.progress.empty() && run.progress.back().makespan != run.best) {
    problems.push_back(lineOf(kOptimaFileName, bestLine.line) + " gives run " +
                       std::to_string(run.run) + " the best " + fixedNumber(run.best, 1) +
                       ", but its record at " + lineOf(kProgressFileName, progress->firstLine) +
                       " ends at " + fixedNumber(run.progress.back().makespan, 1));
  }
  run.reachedTarget = run.best <= static_cast<double>(targetMakespan);
  if (run.reachedTarget) attachOptima(run, files, pieces, problems);
  return run;
}

void noteUnevenCounts(const ClaimMarks& marks, bool anyClaimed,
                      std::vector<std::string>& problems) {
  const std::size_t progressCount = unmarked(marks.progress);
  const std::size_t runCount = unmarked(marks.bests);
  if (progressCount == runCount) return;
  const std::string unclaimed = anyClaimed ? " that no record places" : "";
  problems.push_back(std::string(kProgressFileName) + " holds " + std::to_string(progressCount) +
                     " run records" + unclaimed + " but " + kOptimaFileName + " holds " +
                     std::to_string(runCount) + " lines" + unclaimed +
                     "; runs are taken in order from both");
}

}  // namespace

std::optional<double> bestOfPieces(const ParsedResultFiles& files, const RunPieces& pieces) {
  const NumberLine& line = files.bests[pieces.best];
  if (line.value) return line.value;
  const ProgressRecord* progress = entryOf(files.progress, pieces.progress);
  if (progress != nullptr && !progress->steps.empty()) return progress->steps.back().makespan;
  return std::nullopt;
}

std::optional<int> distinctOfPieces(const ParsedResultFiles& files, const RunPieces& pieces) {
  const NumberLine* count = entryOf(files.counts, pieces.count);
  if (count != nullptr && count->value) return static_cast<int>(*count->value);
  const SolutionBlock* block = entryOf(files.blocks, pieces.block);
  if (block != nullptr) return block->lineCount;
  return std::nullopt;
}

std::vector<RunRecord> alignRuns(const ParsedResultFiles& files, int targetMakespan,
                                 const std::vector<ClaimedRun>& claimed,
                                 std::vector<std::string>& problems) {
  const ClaimMarks marks = claimMarks(files, claimed);
  noteUnevenCounts(marks, !claimed.empty(), problems);
  std::vector<const ClaimedRun*> claimOfLine(files.bests.size(), nullptr);
  for (const ClaimedRun& claim : claimed) claimOfLine[claim.pieces.best] = &claim;
  CountingCursors cursors{{marks.progress}, {marks.counts}, {marks.distances}, {marks.blocks}};
  std::vector<RunRecord> runs;
  for (std::size_t i = 0; i < files.bests.size(); ++i) {
    const ClaimedRun* claim = claimOfLine[i];
    RunPieces pieces;
    if (claim != nullptr) {
      pieces = claim->pieces;
    } else {
      pieces.best = i;
      pieces.progress = cursors.progress.take();
    }
    const int number = static_cast<int>(i) + 1;
    const std::optional<double> best = bestOfPieces(files, pieces);
    if (!best) {
      problems.push_back(runLabel(number) +
                         "its best makespan is unknown, so it and the runs after it cannot be "
                         "aligned");
      break;
    }
    if (claim == nullptr && *best <= static_cast<double>(targetMakespan)) {
      takeOptimaPieces(files, pieces, cursors);
    }
    RunRecord run = assembleRun(files, pieces, number, *best, targetMakespan, problems);
    if (claim != nullptr) {
      run.execution = claim->execution;
      run.logged = claim->logged;
    }
    runs.push_back(std::move(run));
  }
  noteLeftovers(cursors.counts, files.counts, kOptimumCountFileName, "line", problems);
  noteLeftovers(cursors.distances, files.distances, kDistanceFileName, "line", problems);
  noteLeftovers(cursors.blocks, files.blocks, kSolutionFileName, "block", problems);
  return runs;
}

}  // namespace jobshop
