// Statistics of a setting's runs: location and spread of the best makespans, and the interval of
// a success rate.
#pragma once

#include <optional>
#include <vector>

namespace jobshop {

struct Spread {
  double lowest = 0, lowerQuartile = 0, median = 0, upperQuartile = 0, highest = 0;
  double mean = 0;
  double standardDeviation = 0;  // sample (n - 1); 0 for one value
};

// The spread of values; nothing for no values. Quartiles by linear interpolation between order
// statistics (the median of an even count is the mean of the two middle values).
std::optional<Spread> spreadOf(std::vector<double> values);

struct Interval {
  double low = 0, high = 1;
};

// The 95 % Wilson score interval of successes out of trials (0 to 1 when there are no trials):
// unlike the normal approximation it stays inside [0, 1] and is honest at 0 and at n successes.
Interval wilsonInterval(int successes, int trials);

}  // namespace jobshop
