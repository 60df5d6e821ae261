// Whether two settings reach the target at different rates, from their successes and failures
// alone: no approximation, so that it holds for the handful of runs a campaign often has.
#pragma once

namespace jobshop {

// A 2x2 table of counts: row A and row B, each split into successes and failures.
struct TwoByTwoTable {
  int successesA = 0, failuresA = 0;
  int successesB = 0, failuresB = 0;
};

// The two-sided p-value of Fisher's exact test: the probability, with the table's margins fixed,
// of every table no more likely than the observed one. 1 for a table with an empty margin.
double fisherExactP(const TwoByTwoTable& table);

}  // namespace jobshop
