// Order statistics and the Wilson interval.
#include "analysis/campaign_statistics.h"

#include <algorithm>
#include <cmath>

namespace jobshop {

namespace {

double quantile(const std::vector<double>& sorted, double fraction) {
  const double position = fraction * static_cast<double>(sorted.size() - 1);
  const std::size_t below = static_cast<std::size_t>(std::floor(position));
  const std::size_t above = std::min(below + 1, sorted.size() - 1);
  const double weight = position - static_cast<double>(below);
  return sorted[below] + (sorted[above] - sorted[below]) * weight;
}

}  // namespace

std::optional<Spread> spreadOf(std::vector<double> values) {
  if (values.empty()) return std::nullopt;
  std::sort(values.begin(), values.end());
  Spread spread;
  spread.lowest = values.front();
  spread.highest = values.back();
  spread.lowerQuartile = quantile(values, 0.25);
  spread.median = quantile(values, 0.5);
  spread.upperQuartile = quantile(values, 0.75);
  double sum = 0;
  for (double value : values) sum += value;
  spread.mean = sum / static_cast<double>(values.size());
  if (values.size() > 1) {
    double squares = 0;
    for (double value : values) squares += (value - spread.mean) * (value - spread.mean);
    spread.standardDeviation = std::sqrt(squares / static_cast<double>(values.size() - 1));
  }
  return spread;
}

Interval wilsonInterval(int successes, int trials) {
  if (trials <= 0) return {};
  const double z = 1.959963984540054;
  const double n = trials;
  const double p = successes / n;
  const double centre = (p + z * z / (2 * n)) / (1 + z * z / n);
  const double half = z / (1 + z * z / n) * std::sqrt(p * (1 - p) / n + z * z / (4 * n * n));
  return {std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

}  // namespace jobshop
