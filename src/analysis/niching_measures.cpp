// The measures of a run's trace and their averages over runs.
#include "analysis/niching_measures.h"

#include "analysis/campaign_statistics.h"

namespace jobshop {

namespace {

std::optional<double> ratio(double part, double whole) {
  if (whole <= 0) return std::nullopt;
  return part / whole;
}

std::optional<double> harmonicMean(std::optional<double> precision, std::optional<double> recall) {
  if (!precision || !recall) return std::nullopt;
  const double sum = *precision + *recall;
  if (sum <= 0) return 0.0;
  return 2 * *precision * *recall / sum;
}

std::optional<double> f1Of(const GenerationTrace& row, double exactCount) {
  return harmonicMean(ratio(row.held, row.distinct), ratio(row.held, exactCount));
}

// Each row's F1 holds from its evaluations until the next row's, so a run that held its optima
// early scores higher than one that gathered them at the end. The evaluations of the initial
// population, before row 0 exists, count with F1 0; a run of one row therefore scores 0.
std::optional<double> dynamicF1Of(const RunTrace& trace, double exactCount) {
  const double whole = static_cast<double>(trace.back().evaluations);
  if (whole <= 0) return std::nullopt;
  double weighted = 0;
  for (std::size_t g = 0; g + 1 < trace.size(); ++g) {
    const double span = static_cast<double>(trace[g + 1].evaluations - trace[g].evaluations);
    // Evaluations only grow; rows that say otherwise cannot weigh anything.
    if (span < 0) return std::nullopt;
    weighted += f1Of(trace[g], exactCount).value_or(0.0) * span;
  }
  return weighted / whole;
}

MeasureAverage averageOf(const std::vector<double>& values) {
  const std::optional<Spread> spread = spreadOf(values);
  if (!spread) return {};
  return {spread->mean, spread->median};
}

template <typename Pick>
MeasureAverage averageOver(const std::vector<std::optional<NichingMeasures>>& runs, Pick pick) {
  std::vector<double> values;
  for (const std::optional<NichingMeasures>& run : runs) {
    if (!run) continue;
    if (const std::optional<double> value = pick(*run)) values.push_back(*value);
  }
  return averageOf(values);
}

}  // namespace

std::optional<NichingMeasures> nichingMeasures(const RunTrace& trace,
                                               std::optional<double> exactCount) {
  if (trace.empty()) return std::nullopt;
  const GenerationTrace& last = trace.back();
  NichingMeasures measures;
  measures.held = last.held;
  measures.found = last.found;
  measures.distinct = last.distinct;
  measures.precision = ratio(last.held, last.distinct);
  measures.retention = ratio(last.held, last.found);
  if (!exactCount) return measures;
  measures.recall = ratio(last.held, *exactCount);
  measures.f1 = harmonicMean(measures.precision, measures.recall);
  measures.foundRecall = ratio(last.found, *exactCount);
  measures.dynamicF1 = dynamicF1Of(trace, *exactCount);
  return measures;
}

std::optional<double> exactCountFor(bool complete, int bound, int target, double count) {
  if (!complete || bound != target || count <= 0) return std::nullopt;
  return count;
}

NichingAggregates aggregateMeasures(const std::vector<std::optional<NichingMeasures>>& runs) {
  NichingAggregates aggregates;
  for (const std::optional<NichingMeasures>& run : runs)
    ++(run ? aggregates.traced : aggregates.untraced);
  const auto count = [](int value) { return std::optional<double>(value); };
  aggregates.held = averageOver(runs, [&](const NichingMeasures& m) { return count(m.held); });
  aggregates.found = averageOver(runs, [&](const NichingMeasures& m) { return count(m.found); });
  aggregates.distinct =
      averageOver(runs, [&](const NichingMeasures& m) { return count(m.distinct); });
  aggregates.recall = averageOver(runs, [](const NichingMeasures& m) { return m.recall; });
  aggregates.precision = averageOver(runs, [](const NichingMeasures& m) { return m.precision; });
  aggregates.f1 = averageOver(runs, [](const NichingMeasures& m) { return m.f1; });
  aggregates.foundRecall =
      averageOver(runs, [](const NichingMeasures& m) { return m.foundRecall; });
  aggregates.retention = averageOver(runs, [](const NichingMeasures& m) { return m.retention; });
  aggregates.dynamicF1 = averageOver(runs, [](const NichingMeasures& m) { return m.dynamicF1; });
  return aggregates;
}

}  // namespace jobshop
