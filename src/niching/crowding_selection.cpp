// Drawing first parents and their nearest candidate mates.
#include "niching/crowding_selection.h"

#include "model/random_source.h"
#include "model/scripted_random.h"

namespace {

// Whether the population holds two individuals with different machine sequences. If it does, every
// first parent has some other individual at a nonzero distance; if not, none has.
bool holdsTwoSchedules(const RunState& state) {
  const SequenceTable& sequences = state.populationSequences;
  for (int k = 1; k < state.population.size; ++k)
    if (rowDistance(sequences, 0, sequences, k) != 0) return true;
  return false;
}

template <class Random>
int drawOtherThan(int f, int n, Random& random) {
  int c = random.randomBelow(n);
  while (c == f) c = random.randomBelow(n);
  return c;
}

template <class Random>
int chooseMate(const RunState& state, int f, Random& random, SelectionScratch& scratch) {
  const SequenceTable& sequences = state.populationSequences;
  const int n = state.population.size;
  const int wanted = state.parameters.mateCandidates;
  scratch.candidatePositions.clear();
  scratch.candidateDistances.clear();
  while (static_cast<int>(scratch.candidatePositions.size()) < wanted) {
    const int c = drawOtherThan(f, n, random);
    const int d = rowDistance(sequences, f, sequences, c);
    if (d == 0) continue;
    scratch.candidatePositions.push_back(c);
    scratch.candidateDistances.push_back(d);
  }
  std::size_t nearest = 0;
  for (std::size_t e = 1; e < scratch.candidatePositions.size(); ++e)
    if (scratch.candidateDistances[e] < scratch.candidateDistances[nearest]) nearest = e;
  return scratch.candidatePositions[nearest];
}

}  // namespace

template <class Random>
void selectMates(RunState& state, Random& random, SelectionScratch& scratch) {
  const int n = state.population.size;
  const int pairs = n / 2;
  const bool mateExists = holdsTwoSchedules(state);
  for (int i = 0; i < pairs; ++i) {
    const int f = random.randomBelow(n);
    copyIndividual(state.population, f, state.matingPool, i);
    copySequenceRow(state.populationSequences, f, state.matingPoolSequences, i);
    const int mate =
        mateExists ? chooseMate(state, f, random, scratch) : drawOtherThan(f, n, random);
    copyIndividual(state.population, mate, state.matingPool, pairs + i);
    copySequenceRow(state.populationSequences, mate, state.matingPoolSequences, pairs + i);
  }
}

template void selectMates(RunState&, RandomSource&, SelectionScratch&);
template void selectMates(RunState&, ScriptedRandom&, SelectionScratch&);
