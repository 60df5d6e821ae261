// The binary tournament of the schemes that select by a ranking of the whole population.
#pragma once

namespace jobshop {

// Draws two members, randomBelow(n) each; the same member may be drawn twice and then simply wins,
// as in a tournament with replacement. The second drawn wins only when beats(second, first), so
// the first drawn wins every tie.
template <class Random, class Beats>
int binaryTournament(int n, Random& random, Beats beats) {
  const int first = random.randomBelow(n);
  const int second = random.randomBelow(n);
  return beats(second, first) ? second : first;
}

}  // namespace jobshop
