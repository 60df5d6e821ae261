// Uniform parents, window draws and the contest of each child with its nearest window member.
// Only the files that instantiate these templates include this header: the program's own in
// restricted_tournament.cpp and the tests' for their scripted draws.
#pragma once

#include "niching/restricted_tournament.h"

namespace jobshop {

namespace {

// Draws scratch.window.size() distinct positions of n, one draw at a time, stamping each with the
// child's number so that the marks need no clearing between children.
template <class Random>
void drawWindow(int child, int n, Random& random, RestrictedTournamentScratch& scratch) {
  const int stamp = child + 1;
  for (int& member : scratch.window) {
    int drawn = random.randomBelow(n);
    while (scratch.drawnMark[static_cast<std::size_t>(drawn)] == stamp)
      drawn = random.randomBelow(n);
    scratch.drawnMark[static_cast<std::size_t>(drawn)] = stamp;
    member = drawn;
  }
}

// The window member nearest to the child (the first drawn among equals).
int nearestInWindow(const RunState& state, int child, const RestrictedTournamentScratch& scratch) {
  int nearest = -1;
  int nearestDistance = 0;
  for (const int member : scratch.window) {
    const int d = rowDistance(state.offspringSequences, child, scratch.workingSequences, member);
    if (nearest < 0 || d < nearestDistance) {
      nearest = member;
      nearestDistance = d;
    }
  }
  return nearest;
}

}  // namespace

template <class Random, class Stop>
bool selectUniformly(RunState& state, Random& random, Stop& stop) {
  const int n = state.population.size;
  for (int row = 0; row < n; ++row) {
    if (stop.stopRequested()) return false;
    copyToMatingPool(state, random.randomBelow(n), row);
  }
  return true;
}

template <class Random, class Stop>
bool replaceInRestrictedTournaments(RunState& state, Random& random, Stop& stop,
                                    RestrictedTournamentScratch& scratch) {
  const int n = state.population.size;
  scratch.working = state.population;
  scratch.workingSequences = state.populationSequences;
  scratch.window.resize(static_cast<std::size_t>(windowMembers(state.parameters.niching, n)));
  scratch.drawnMark.assign(static_cast<std::size_t>(n), 0);
  for (int child = 0; child < n; ++child) {
    if (stop.stopRequested()) return false;
    drawWindow(child, n, random, scratch);
    const int nearest = nearestInWindow(state, child, scratch);
    if (!(state.offspring.fitness(child) < scratch.working.fitness(nearest))) continue;
    copyIndividual(state.offspring, child, scratch.working, nearest);
    copySequenceRow(state.offspringSequences, child, scratch.workingSequences, nearest);
  }
  installRows(state, scratch.working, scratch.workingSequences,
              sortedByMakespan(scratch.working, n, scratch.order));
  return true;
}

}  // namespace jobshop
