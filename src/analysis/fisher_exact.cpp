// The hypergeometric distribution of the first cell, summed over the tables no more likely than
// the observed one.
#include "analysis/fisher_exact.h"

#include <algorithm>
#include <boost/math/distributions/hypergeometric.hpp>

namespace jobshop {

namespace {

// Tables exactly as likely as the observed one (a symmetric table's mirror image) come out of the
// floating-point arithmetic a few ulps apart; without a tolerance half of them would be left out
// at random. A relative 1e-7 is far below any real difference between two tables' probabilities.
constexpr double kSameLikelihood = 1 + 1e-7;

}  // namespace

double fisherExactP(const TwoByTwoTable& t) {
  const int rowA = t.successesA + t.failuresA;
  const int rowB = t.successesB + t.failuresB;
  const int successes = t.successesA + t.successesB;
  const int total = rowA + rowB;
  if (rowA == 0 || rowB == 0 || successes == 0 || successes == total) return 1;
  // The successes of row A, drawn without replacement: rowA draws from total, successes of them
  // marked.
  const boost::math::hypergeometric_distribution<double> cell(
      static_cast<unsigned>(successes), static_cast<unsigned>(rowA), static_cast<unsigned>(total));
  const int lowest = std::max(0, rowA + successes - total);
  const int highest = std::min(rowA, successes);
  const double observed = boost::math::pdf(cell, static_cast<unsigned>(t.successesA));
  double p = 0;
  for (int k = lowest; k <= highest; ++k) {
    const double probability = boost::math::pdf(cell, static_cast<unsigned>(k));
    if (probability <= observed * kSameLikelihood) p += probability;
  }
  return std::min(p, 1.0);
}

}  // namespace jobshop
