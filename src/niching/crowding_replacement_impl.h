// Group draws, nearest-member winners, worst-winner replacement and the elitist write-back.
// Only the files that instantiate these templates include this header: the program's own in
// crowding_replacement.cpp and the tests' for their scripted draws. The helpers keep the internal
// linkage they had in the .cpp, so each of those files compiles its own copy, as before.
#pragma once

#include <algorithm>
#include <utility>

#include "model/fitness_sort.h"
#include "niching/crowding_replacement.h"

namespace jobshop {

// The working copy W is `population` itself: nothing else reads the population while the children
// are placed, and the previous best is saved first, so placing into it directly is the same as
// placing into a copy. The sorted write-back then goes to a second buffer that is swapped in.

namespace {

// Draws groups x size distinct positions by rejection into scratch.drawnPositions. Each position
// still missing takes at least one more draw, so drawing that many at once consumes exactly the
// draws taken one at a time would. A repeat is written and then overwritten instead of branched
// around, since whether a draw repeats is as random as the draw.
template <class Random>
void drawDistinctPositions(int child, int wanted, int n, Random& random,
                           ReplacementScratch& scratch) {
  scratch.drawnPositions.resize(static_cast<std::size_t>(wanted));
  scratch.draws.resize(static_cast<std::size_t>(wanted));
  int* drawn = scratch.drawnPositions.data();
  int* draws = scratch.draws.data();
  int* marks = scratch.acceptedMark.data();
  const int stamp = child + 1;
  for (int accepted = 0; accepted < wanted;) {
    const int more = wanted - accepted;
    random.randomBelowMany(n, more, draws);
    for (int e = 0; e < more; ++e) {
      const int d = draws[e];
      drawn[accepted] = d;
      accepted += marks[d] != stamp;
      marks[d] = stamp;
    }
  }
}

// The position in W that child c replaces: of each group the member nearest to the child (first
// drawn among equals), of those winners the one with the largest truncated makespan (lowest group
// among equals).
int chooseTarget(const RunState& state, int child, ReplacementScratch& scratch) {
  const int groups = state.parameters.crowdingGroups;
  const int groupSize = state.parameters.crowdingGroupSize;
  const Population& working = state.population;
  const int drawn = static_cast<int>(scratch.drawnPositions.size());
  scratch.drawnDistances.resize(scratch.drawnPositions.size());
  rowDistances(state.offspringSequences.row(child), state.populationSequences,
               scratch.drawnPositions.data(), drawn, scratch.drawnDistances.data());
  int target = -1;
  int targetMakespan = 0;
  for (int g = 0; g < groups; ++g) {
    const std::size_t first = static_cast<std::size_t>(g) * static_cast<std::size_t>(groupSize);
    const int* distances = scratch.drawnDistances.data();
    std::size_t winner = first;
    int nearest = distances[first];
    // Selects instead of a branch, since which member is nearer is unpredictable, and the nearest
    // distance kept apart so that no step waits on a load of the previous step's winner.
    for (std::size_t e = first + 1; e < first + static_cast<std::size_t>(groupSize); ++e) {
      const bool nearer = distances[e] < nearest;
      nearest = nearer ? distances[e] : nearest;
      winner = nearer ? e : winner;
    }
    const int position = scratch.drawnPositions[winner];
    const int makespan = truncateToInt(working.fitness(position));
    if (target < 0 || makespan > targetMakespan) {
      target = position;
      targetMakespan = makespan;
    }
  }
  return target;
}

// Sorts W stably by makespan into the second buffer, with the saved best in front when it is
// strictly better than all of W (the last of W is then dropped), and swaps the buffer in.
void writeBackSorted(RunState& state, ReplacementScratch& scratch) {
  Population& working = state.population;
  SequenceTable& workingSequences = state.populationSequences;
  const int n = working.size;
  scratch.order.resize(static_cast<std::size_t>(n));
  scratch.keys.resize(static_cast<std::size_t>(n));
  for (int k = 0; k < n; ++k) {
    scratch.order[static_cast<std::size_t>(k)] = k;
    scratch.keys[static_cast<std::size_t>(k)] = working.fitness(k);
  }
  sortByFitness(scratch.order.data(), scratch.keys.data(), n);

  Population& sorted = scratch.sorted;
  SequenceTable& sortedSequences = scratch.sortedSequences;
  if (sorted.values.size() != working.values.size()) sorted = working;
  if (sortedSequences.bytes.size() != workingSequences.bytes.size())
    sortedSequences = workingSequences;
  const float savedMakespan = scratch.savedBest[static_cast<std::size_t>(working.geneCount)];
  int to = 0;
  if (savedMakespan < working.fitness(scratch.order[0])) {
    std::copy(scratch.savedBest.begin(), scratch.savedBest.end(), sorted.genes(to));
    std::copy(scratch.savedBestSequences.begin(), scratch.savedBestSequences.end(),
              sortedSequences.row(to));
    ++to;
  }
  for (int r = 0; to < n; ++r, ++to) {
    const int from = scratch.order[static_cast<std::size_t>(r)];
    copyIndividual(working, from, sorted, to);
    copySequenceRow(workingSequences, from, sortedSequences, to);
  }
  std::swap(working.values, sorted.values);
  std::swap(workingSequences.bytes, sortedSequences.bytes);
}

// The undo log keeps the individual first overwritten at each position, with its sequence row, in
// the mating pool and its sequence table: offspring generation was their last reader in the
// generation and selection rewrites them in the next, so the log costs no memory of its own. A
// position overwritten again needs nothing more, so that at most N individuals are kept.
void prepareUndoLog(RunState& state, ReplacementScratch& scratch) {
  scratch.savedPositions.clear();
  scratch.savedMark.assign(static_cast<std::size_t>(state.population.size), 0);
  if (state.matingPool.size != state.population.size ||
      state.matingPool.geneCount != state.population.geneCount)
    state.matingPool = state.population;
  if (state.matingPoolSequences.bytes.size() != state.populationSequences.bytes.size() ||
      state.matingPoolSequences.stride != state.populationSequences.stride)
    state.matingPoolSequences = state.populationSequences;
}

// Keeps the individual at `target` before its first overwrite.
void logOverwrite(RunState& state, int target, ReplacementScratch& scratch) {
  std::uint8_t& saved = scratch.savedMark[static_cast<std::size_t>(target)];
  if (saved != 0) return;
  saved = 1;
  const int row = static_cast<int>(scratch.savedPositions.size());
  scratch.savedPositions.push_back(target);
  copyIndividual(state.population, target, state.matingPool, row);
  copySequenceRow(state.populationSequences, target, state.matingPoolSequences, row);
}

// Puts back every overwritten individual as it was before the first child.
void undoPlacements(RunState& state, const ReplacementScratch& scratch) {
  for (std::size_t row = 0; row < scratch.savedPositions.size(); ++row) {
    const int target = scratch.savedPositions[row];
    copyIndividual(state.matingPool, static_cast<int>(row), state.population, target);
    copySequenceRow(state.matingPoolSequences, static_cast<int>(row), state.populationSequences,
                    target);
  }
}

}  // namespace

template <class Random, class Stop>
bool replaceByCrowding(RunState& state, Random& random, Stop& stop, ReplacementScratch& scratch) {
  Population& population = state.population;
  SequenceTable& sequences = state.populationSequences;
  const Population& offspring = state.offspring;
  const int n = population.size;
  const int wanted = state.parameters.crowdingGroups * state.parameters.crowdingGroupSize;
  scratch.savedBest.assign(population.genes(0), population.genes(0) + population.stride());
  scratch.savedBestSequences.assign(sequences.row(0), sequences.row(0) + sequences.stride);
  scratch.acceptedMark.assign(static_cast<std::size_t>(n), 0);
  prepareUndoLog(state, scratch);
  for (int c = 0; c < n; ++c) {
    if (stop.stopRequested()) {
      undoPlacements(state, scratch);
      return false;
    }
    drawDistinctPositions(c, wanted, n, random, scratch);
    const int target = chooseTarget(state, c, scratch);
    logOverwrite(state, target, scratch);
    copyIndividual(offspring, c, population, target);
    copySequenceRow(state.offspringSequences, c, sequences, target);
  }
  writeBackSorted(state, scratch);
  return true;
}

}  // namespace jobshop
