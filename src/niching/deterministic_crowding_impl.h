// Shuffled pairs of parents and the contest of each child with its nearer parent.
// Only the files that instantiate these templates include this header: the program's own in
// deterministic_crowding.cpp and the tests' for their scripted draws.
#pragma once

#include <numeric>
#include <utility>

#include "niching/deterministic_crowding.h"

namespace jobshop {

namespace {

// The child at offspring row `child` takes the parent's place in the working copy when strictly
// better; the parent's own makespan is read from the population, which the pairs never share.
void contest(RunState& state, int child, int parent, DeterministicCrowdingScratch& scratch) {
  if (!(state.offspring.fitness(child) < state.population.fitness(parent))) return;
  copyIndividual(state.offspring, child, scratch.working, parent);
  copySequenceRow(state.offspringSequences, child, scratch.workingSequences, parent);
}

void settlePair(RunState& state, int pair, DeterministicCrowdingScratch& scratch) {
  const int first = scratch.shuffled[2 * static_cast<std::size_t>(pair)];
  const int second = scratch.shuffled[2 * static_cast<std::size_t>(pair) + 1];
  const int c1 = 2 * pair;
  const int c2 = 2 * pair + 1;
  const SequenceTable& parents = state.populationSequences;
  const SequenceTable& children = state.offspringSequences;
  const int straight =
      rowDistance(parents, first, children, c1) + rowDistance(parents, second, children, c2);
  const int crossed =
      rowDistance(parents, first, children, c2) + rowDistance(parents, second, children, c1);
  if (straight <= crossed) {
    contest(state, c1, first, scratch);
    contest(state, c2, second, scratch);
  } else {
    contest(state, c1, second, scratch);
    contest(state, c2, first, scratch);
  }
}

}  // namespace

template <class Random, class Stop>
bool selectShuffledPairs(RunState& state, Random& random, Stop& stop,
                         DeterministicCrowdingScratch& scratch) {
  const int n = state.population.size;
  const int pairs = n / 2;
  std::vector<int>& shuffled = scratch.shuffled;
  shuffled.resize(static_cast<std::size_t>(n));
  std::iota(shuffled.begin(), shuffled.end(), 0);
  for (int i = n - 1; i >= 1; --i)
    std::swap(shuffled[static_cast<std::size_t>(i)],
              shuffled[static_cast<std::size_t>(random.randomBelow(i + 1))]);
  for (int k = 0; k < pairs; ++k) {
    if (stop.stopRequested()) return false;
    copyToMatingPool(state, shuffled[2 * static_cast<std::size_t>(k)], k);
    copyToMatingPool(state, shuffled[2 * static_cast<std::size_t>(k) + 1], pairs + k);
  }
  return true;
}

template <class Stop>
bool replaceNearerParents(RunState& state, Stop& stop, DeterministicCrowdingScratch& scratch) {
  scratch.working = state.population;
  scratch.workingSequences = state.populationSequences;
  const int pairs = state.population.size / 2;
  for (int k = 0; k < pairs; ++k) {
    if (stop.stopRequested()) return false;
    settlePair(state, k, scratch);
  }
  installRows(state, scratch.working, scratch.workingSequences,
              sortedByMakespan(scratch.working, scratch.working.size, scratch.order));
  return true;
}

}  // namespace jobshop
