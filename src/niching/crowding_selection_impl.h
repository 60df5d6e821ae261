// Drawing first parents and their nearest candidate mates.
// Only the files that instantiate these templates include this header: the program's own in
// crowding_selection.cpp and the tests' for their scripted draws. The helpers keep the internal
// linkage they had in the .cpp, so each of those files compiles its own copy, as before.
#pragma once

#include "niching/crowding_selection.h"

namespace jobshop {

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

// The nearest of mateCandidates accepted candidates (the first accepted among equals), or -1 when a
// stop was asked before all were drawn. Each candidate costs a whole distance, so a look at the
// stop request per candidate costs nothing noticeable and bounds the wait for it.
template <class Random, class Stop>
int chooseMate(RunState& state, int f, Random& random, Stop& stop) {
  const SequenceTable& sequences = state.populationSequences;
  const int n = state.population.size;
  const int wanted = state.parameters.mateCandidates;
  int nearest = -1;
  int nearestDistance = 0;
  for (int accepted = 0; accepted < wanted;) {
    if (stop.stopRequested()) return -1;
    const int c = drawOtherThan(f, n, random);
    const int d = rowDistance(sequences, f, sequences, c);
    if (d == 0) continue;
    if (nearest < 0 || d < nearestDistance) {
      nearest = c;
      nearestDistance = d;
    }
    ++accepted;
  }
  return nearest;
}

}  // namespace

template <class Random, class Stop>
bool selectMates(RunState& state, Random& random, Stop& stop, SelectionScratch& /*scratch*/) {
  const int n = state.population.size;
  const int pairs = n / 2;
  const bool mateExists = holdsTwoSchedules(state);
  for (int i = 0; i < pairs; ++i) {
    if (stop.stopRequested()) return false;
    const int f = random.randomBelow(n);
    copyIndividual(state.population, f, state.matingPool, i);
    copySequenceRow(state.populationSequences, f, state.matingPoolSequences, i);
    const int mate = mateExists ? chooseMate(state, f, random, stop) : drawOtherThan(f, n, random);
    if (mate < 0) return false;
    copyIndividual(state.population, mate, state.matingPool, pairs + i);
    copySequenceRow(state.populationSequences, mate, state.matingPoolSequences, pairs + i);
  }
  return true;
}

}  // namespace jobshop
