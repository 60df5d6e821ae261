// Group draws, nearest-member winners, worst-winner replacement and the elitist write-back.
#include "niching/crowding_replacement.h"

#include <algorithm>

#include "model/fitness_sort.h"
#include "model/random_source.h"
#include "model/scripted_random.h"

namespace {

// Draws groups x size distinct positions by rejection into scratch.drawnPositions.
template <class Random>
void drawDistinctPositions(int child, int wanted, int n, Random& random,
                           ReplacementScratch& scratch) {
  scratch.drawnPositions.clear();
  while (static_cast<int>(scratch.drawnPositions.size()) < wanted) {
    const int d = random.randomBelow(n);
    int& mark = scratch.acceptedMark[static_cast<std::size_t>(d)];
    if (mark == child + 1) continue;
    mark = child + 1;
    scratch.drawnPositions.push_back(d);
  }
}

// The position in W that child c replaces.
int chooseTarget(const RunState& state, int child, ReplacementScratch& scratch) {
  const int groups = state.parameters.crowdingGroups;
  const int groupSize = state.parameters.crowdingGroupSize;
  const Population& working = scratch.working;
  const SequenceTable& sequences = scratch.workingSequences;
  const SequenceCell* childRow = scratch.childSequences.row(child);
  scratch.drawnDistances.clear();
  for (int position : scratch.drawnPositions)
    scratch.drawnDistances.push_back(
        sequenceDistance(childRow, sequences.row(position), sequences.rowLength));
  int target = -1;
  int targetMakespan = 0;
  for (int g = 0; g < groups; ++g) {
    const std::size_t first = static_cast<std::size_t>(g * groupSize);
    std::size_t winner = first;
    for (std::size_t e = first + 1; e < first + static_cast<std::size_t>(groupSize); ++e)
      if (scratch.drawnDistances[e] < scratch.drawnDistances[winner]) winner = e;
    const int position = scratch.drawnPositions[winner];
    const int makespan = truncateToInt(working.fitness(position));
    if (target < 0 || makespan > targetMakespan) {
      target = position;
      targetMakespan = makespan;
    }
  }
  return target;
}

void writeBackSorted(RunState& state, ReplacementScratch& scratch) {
  Population& working = scratch.working;
  Population& population = state.population;
  const int n = population.size;
  scratch.order.resize(static_cast<std::size_t>(n));
  scratch.keys.resize(static_cast<std::size_t>(n));
  for (int k = 0; k < n; ++k) {
    scratch.order[static_cast<std::size_t>(k)] = k;
    scratch.keys[static_cast<std::size_t>(k)] = working.fitness(k);
  }
  sortByFitness(scratch.order.data(), scratch.keys.data(), n);
  const float savedMakespan = scratch.savedBest[static_cast<std::size_t>(population.geneCount)];
  const bool restoreBest = savedMakespan < working.fitness(scratch.order[0]);
  SequenceTable& sequences = state.populationSequences;
  int to = 0;
  if (restoreBest) {
    std::copy(scratch.savedBest.begin(), scratch.savedBest.end(), population.genes(to));
    std::copy(scratch.savedBestSequences.begin(), scratch.savedBestSequences.end(),
              sequences.row(to));
    ++to;
  }
  for (int r = 0; to < n; ++r, ++to) {
    const int from = scratch.order[static_cast<std::size_t>(r)];
    copyIndividual(working, from, population, to);
    copySequenceRow(scratch.workingSequences, from, sequences, to);
  }
}

}  // namespace

template <class Random>
void replaceByCrowding(RunState& state, Random& random, ReplacementScratch& scratch) {
  Population& population = state.population;
  const Population& offspring = state.offspring;
  const int n = population.size;
  const int wanted = state.parameters.crowdingGroups * state.parameters.crowdingGroupSize;
  const SequenceTable& sequences = state.populationSequences;
  scratch.savedBest.assign(population.genes(0), population.genes(0) + population.stride());
  scratch.savedBestSequences.assign(sequences.row(0), sequences.row(0) + sequences.rowLength);
  scratch.working = population;
  scratch.workingSequences = sequences;
  decodePopulationSequences(offspring, state.instance, scratch.childSequences, scratch.sequences);
  scratch.acceptedMark.assign(static_cast<std::size_t>(n), 0);
  for (int c = 0; c < n; ++c) {
    drawDistinctPositions(c, wanted, n, random, scratch);
    const int target = chooseTarget(state, c, scratch);
    copyIndividual(offspring, c, scratch.working, target);
    copySequenceRow(scratch.childSequences, c, scratch.workingSequences, target);
  }
  writeBackSorted(state, scratch);
}

template void replaceByCrowding(RunState&, RandomSource&, ReplacementScratch&);
template void replaceByCrowding(RunState&, ScriptedRandom&, ReplacementScratch&);
