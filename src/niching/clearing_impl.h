// Clearing of the population for selection and of population and children for replacement.
// Only the files that instantiate these templates include this header: the program's own in
// clearing.cpp and the tests' for their scripted draws.
#pragma once

#include <algorithm>

#include "niching/binary_tournament.h"
#include "niching/clearing.h"

namespace jobshop {

namespace {

// Clears the first `count` rows of `members` in makespan order into scratch.cleared.
template <class Stop>
bool clearMembers(const Population& members, const SequenceTable& sequences, int count,
                  ClearingBounds bounds, Stop& stop, ClearingScratch& scratch) {
  const std::vector<int>& byMakespan = sortedByMakespan(members, count, scratch.order);
  startClearing(count, scratch.cleared);
  for (int winner = 0; winner < count; ++winner) {
    if (stop.stopRequested()) return false;
    clearNicheOf(winner, byMakespan, sequences, bounds, scratch.cleared);
  }
  orderByClearedFitness(byMakespan, scratch.cleared);
  return true;
}

// The population's rows, then the children's, one after the other as their layouts are.
void joinWithChildren(const RunState& state, ClearingScratch& scratch) {
  const int n = state.population.size;
  if (scratch.joined.size != 2 * n || scratch.joined.geneCount != state.population.geneCount)
    scratch.joined = Population(2 * n, state.population.geneCount);
  std::copy(state.offspring.values.begin(), state.offspring.values.end(),
            std::copy(state.population.values.begin(), state.population.values.end(),
                      scratch.joined.values.begin()));
  scratch.joinedSequences.resize(2 * n, state.population.geneCount, state.instance.jobs);
  std::copy(
      state.offspringSequences.bytes.begin(), state.offspringSequences.bytes.end(),
      std::copy(state.populationSequences.bytes.begin(), state.populationSequences.bytes.end(),
                scratch.joinedSequences.bytes.begin()));
}

// The first n of the cleared order, listed in makespan order.
void keepBestCleared(int n, ClearingScratch& scratch) {
  std::vector<std::uint8_t>& keptMark = scratch.keptMark;
  keptMark.assign(scratch.order.order.size(), 0);
  for (int r = 0; r < n; ++r)
    keptMark[static_cast<std::size_t>(scratch.cleared.order[static_cast<std::size_t>(r)])] = 1;
  scratch.kept.clear();
  for (const int row : scratch.order.order)
    if (keptMark[static_cast<std::size_t>(row)] != 0) scratch.kept.push_back(row);
}

// The survivors' places in the cleared order of population and children, by population position.
void keepRanks(const RunState& state, ClearingScratch& scratch) {
  const int n = state.population.size;
  scratch.rankOfRow.resize(scratch.cleared.order.size());
  for (int r = 0; r < n; ++r)
    scratch
        .rankOfRow[static_cast<std::size_t>(scratch.cleared.order[static_cast<std::size_t>(r)])] =
        r;
  scratch.rank.resize(static_cast<std::size_t>(n));
  for (std::size_t p = 0; p < scratch.rank.size(); ++p)
    scratch.rank[p] = scratch.rankOfRow[static_cast<std::size_t>(scratch.kept[p])];
  scratch.rankedValues = state.population.values;
}

// Clears the population on its own, for a population no replacement has ranked: a run's first.
template <class Stop>
bool rankPopulation(const RunState& state, Stop& stop, ClearingScratch& scratch) {
  const int n = state.population.size;
  if (!clearMembers(state.population, state.populationSequences, n,
                    clearingBounds(state.parameters.niching, state.population.geneCount), stop,
                    scratch))
    return false;
  scratch.rank.resize(static_cast<std::size_t>(n));
  for (int r = 0; r < n; ++r)
    scratch.rank[static_cast<std::size_t>(scratch.cleared.order[static_cast<std::size_t>(r)])] = r;
  scratch.rankedValues = state.population.values;
  return true;
}

}  // namespace

template <class Random, class Stop>
bool selectByClearedTournament(RunState& state, Random& random, Stop& stop,
                               ClearingScratch& scratch) {
  const int n = state.population.size;
  // The population's values, fitness included, tell whether it is the one ranked last: a run
  // starts from a fresh population with the scheme of the runs before it.
  if (scratch.rankedValues != state.population.values && !rankPopulation(state, stop, scratch))
    return false;
  const std::vector<int>& rank = scratch.rank;
  const auto earlier = [&rank](int a, int b) {
    return rank[static_cast<std::size_t>(a)] < rank[static_cast<std::size_t>(b)];
  };
  for (int row = 0; row < n; ++row) {
    if (stop.stopRequested()) return false;
    copyToMatingPool(state, binaryTournament(n, random, earlier), row);
  }
  return true;
}

template <class Stop>
bool replaceByClearing(RunState& state, Stop& stop, ClearingScratch& scratch) {
  const int n = state.population.size;
  joinWithChildren(state, scratch);
  if (!clearMembers(scratch.joined, scratch.joinedSequences, 2 * n,
                    clearingBounds(state.parameters.niching, state.population.geneCount), stop,
                    scratch))
    return false;
  keepBestCleared(n, scratch);
  installRows(state, scratch.joined, scratch.joinedSequences, scratch.kept);
  keepRanks(state, scratch);
  return true;
}

}  // namespace jobshop
