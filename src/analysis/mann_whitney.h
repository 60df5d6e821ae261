// Whether the runs of one setting tend to find more (or fewer) distinct optima than another's:
// a rank test, since the counts are small whole numbers far from normal and full of ties.
#pragma once

#include <optional>
#include <vector>

namespace jobshop {

struct MannWhitneyResult {
  double u = 0;  // of the first sample: pairs where it is larger, ties counting 1/2
  double p = 1;  // two-sided
  // U / (n1 n2): the probability that a value of the first sample exceeds one of the second,
  // ties counted as half; 0.5 when neither tends to be larger.
  double probabilityOfSuperiority = 0.5;
};

// The Mann-Whitney U test by the normal approximation, with mid-ranks for ties, the tie-corrected
// variance and a continuity correction of 0.5; p is 1 when every value is the same. Nothing when
// either sample is empty.
std::optional<MannWhitneyResult> mannWhitney(const std::vector<double>& first,
                                             const std::vector<double>& second);

}  // namespace jobshop
