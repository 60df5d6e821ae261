// A difference estimator over a simple random sample without replacement, and its t interval.
#include "exact/sample_interval.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace jobshop {

double studentT975(int df) {
  // Tabulated to df 30 (any table of t, e.g. Cochran's appendix); beyond it the Cornish-Fisher
  // expansion around the normal point, within 0.001 of the table from 30 on.
  static constexpr std::array<double, 30> kTable = {
      12.706, 4.303, 3.182, 2.776, 2.571, 2.447, 2.365, 2.306, 2.262, 2.228,
      2.201,  2.179, 2.160, 2.145, 2.131, 2.120, 2.110, 2.101, 2.093, 2.086,
      2.080,  2.074, 2.069, 2.064, 2.060, 2.056, 2.052, 2.048, 2.045, 2.042};
  if (df < 1) return std::numeric_limits<double>::infinity();
  if (df <= 30) return kTable[static_cast<std::size_t>(df - 1)];
  const double z = 1.959964;
  const double v = df;
  return z + (z * z * z + z) / (4 * v) +
         (5 * std::pow(z, 5) + 16 * z * z * z + 3 * z) / (96 * v * v);
}

SampleInterval estimateTotal(const SampledStratum& stratum) {
  SampleInterval result;
  std::vector<double> all = stratum.gains;
  all.insert(all.end(), stratum.estimatedGains.begin(), stratum.estimatedGains.end());
  const double n = static_cast<double>(all.size());
  double certain = 0;
  for (double g : stratum.gains) certain += g;
  double gained = certain;
  for (double g : stratum.estimatedGains) gained += g;
  const double floor = stratum.settled + stratum.pilotFloor + certain;
  const bool allCounted = stratum.estimatedGains.empty();
  if (stratum.population == 0) {
    result.value = result.low = result.high = result.tHigh = floor;
    return result;
  }
  const double big = stratum.population;
  const double mean = n > 0 ? gained / n : 0;
  // An estimated subtree may come out below the pilot's floor of it (its branch drawn held
  // nothing), and the mean with it: no estimate is below what is certain.
  result.value = std::max(floor, stratum.settled + stratum.pilotFloor + big * mean);
  const bool everyOne = n == big && allCounted;
  if (n < 2) {
    result.low = floor;
    result.high = everyOne ? floor : std::numeric_limits<double>::infinity();
    result.tHigh = result.high;
    return result;
  }
  double squares = 0;
  double cubes = 0;
  int nonZero = 0;
  for (double g : all) {
    squares += (g - mean) * (g - mean);
    cubes += (g - mean) * (g - mean) * (g - mean);
    if (g > 0) ++nonZero;
  }
  const double variance = squares / (n - 1);
  const double correction = allCounted ? std::max(0.0, 1 - n / big) : 1.0;
  result.standardError = big * std::sqrt(correction * variance / n);
  result.skewness = squares > 0 ? (cubes / n) / std::pow(squares / n, 1.5) : 0;
  const double reach = studentT975(static_cast<int>(n) - 1) * result.standardError;
  result.low = std::max(floor, result.value - reach);
  result.high = std::max(floor, result.value + reach);
  result.tHigh = result.high;
  const bool normalEnough = nonZero >= kLeastNonZeroGains && n >= kLeastSampleForUpperEnd &&
                            n > 25 * result.skewness * result.skewness;
  if (!everyOne && !normalEnough) result.high = std::numeric_limits<double>::infinity();
  return result;
}

}  // namespace jobshop
