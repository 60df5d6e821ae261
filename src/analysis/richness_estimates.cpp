// Incidence-based richness estimators: each run is one sampling unit, and a schedule counts once
// per run that found it, however often that run recorded it.
#include "analysis/richness_estimates.h"

#include <cmath>

namespace jobshop {

namespace {

// The 97.5 % point of the standard normal distribution, for a two-sided 95 % interval.
constexpr double kNormalQuantile = 1.96;

struct Counts {
  double observed = 0, q1 = 0, q2 = 0, holdings = 0;
};

Counts countsOf(const std::vector<std::size_t>& runsHolding) {
  Counts counts;
  for (const std::size_t k : runsHolding) {
    counts.observed += 1;
    counts.holdings += static_cast<double>(k);
    if (k == 1) counts.q1 += 1;
    if (k == 2) counts.q2 += 1;
  }
  return counts;
}

// The bias-corrected form stays finite when no schedule was found by exactly two runs.
void setChao2(const Counts& c, double t, RichnessEstimates& estimates) {
  const double a = (t - 1) / t;
  const double unseen = a * c.q1 * (c.q1 - 1) / (2 * (c.q2 + 1));
  estimates.chao2 = c.observed + unseen;
  if (unseen <= 0) {
    estimates.chao2Lower = estimates.chao2Upper = c.observed;
    return;
  }
  const double q2p = c.q2 + 1;
  const double variance =
      unseen + a * a * c.q1 * (2 * c.q1 - 1) * (2 * c.q1 - 1) / (4 * q2p * q2p) +
      a * a * c.q1 * c.q1 * c.q2 * (c.q1 - 1) * (c.q1 - 1) / (4 * q2p * q2p * q2p * q2p);
  // Log-normal for the unseen part alone, so the interval never reaches below what was seen.
  const double spread =
      std::exp(kNormalQuantile * std::sqrt(std::log(1 + variance / (unseen * unseen))));
  estimates.chao2Lower = c.observed + unseen / spread;
  estimates.chao2Upper = c.observed + unseen * spread;
}

double sampleCoverage(const Counts& c, double t) {
  if (c.q1 == 0) return 1;
  return 1 - (c.q1 / c.holdings) * ((t - 1) * c.q1 / ((t - 1) * c.q1 + 2 * c.q2));
}

}  // namespace

std::optional<RichnessEstimates> estimateRichness(const std::vector<std::size_t>& runsHolding,
                                                  std::size_t runCount) {
  if (runCount < 2) return std::nullopt;
  const Counts c = countsOf(runsHolding);
  const double t = static_cast<double>(runCount);
  RichnessEstimates estimates;
  estimates.observed = runsHolding.size();
  estimates.runs = runCount;
  estimates.q1 = static_cast<std::size_t>(c.q1);
  estimates.q2 = static_cast<std::size_t>(c.q2);
  setChao2(c, t, estimates);
  estimates.jackknife1 = c.observed + c.q1 * (t - 1) / t;
  estimates.jackknife2 =
      c.observed + c.q1 * (2 * t - 3) / t - c.q2 * (t - 2) * (t - 2) / (t * (t - 1));
  estimates.coverage = sampleCoverage(c, t);
  estimates.lowerBoundOnly =
      c.q1 > 0 && (c.q2 == 0 || estimates.coverage < kLeastCoverageToEstimate);
  return estimates;
}

}  // namespace jobshop
