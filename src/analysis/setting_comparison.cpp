// Pairing the settings of each instance, testing each pair, and adjusting per instance.
#include "analysis/setting_comparison.h"

#include "analysis/fisher_exact.h"
#include "analysis/holm_adjustment.h"
#include "analysis/mann_whitney.h"

namespace jobshop {

namespace {

SettingComparison comparePair(const SettingSummary& a, const SettingSummary& b) {
  SettingComparison pair;
  pair.a = &a;
  pair.b = &b;
  if (a.targetRate && b.targetRate) {
    pair.fisherP = fisherExactP({a.runsReachingTarget, a.runs - a.runsReachingTarget,
                                 b.runsReachingTarget, b.runs - b.runsReachingTarget});
    pair.rateDifference = *a.targetRate - *b.targetRate;
  }
  if (const auto test = mannWhitney(a.optimaPerSuccessfulRun, b.optimaPerSuccessfulRun)) {
    pair.mannWhitneyP = test->p;
    pair.probabilityOfSuperiority = test->probabilityOfSuperiority;
  }
  if (const auto test = mannWhitney(a.foundPerTracedRun, b.foundPerTracedRun)) {
    pair.foundP = test->p;
    pair.foundSuperiority = test->probabilityOfSuperiority;
  }
  if (const auto test = mannWhitney(a.dynamicF1PerTracedRun, b.dynamicF1PerTracedRun)) {
    pair.dynamicF1P = test->p;
    pair.dynamicF1Superiority = test->probabilityOfSuperiority;
  }
  return pair;
}

// Holm over the pairs [begin, end) of one instance for one test, whose p-value and adjusted
// p-value are the members p and adjusted.
void adjustFamily(std::vector<SettingComparison>& pairs, std::size_t begin, std::size_t end,
                  std::optional<double> SettingComparison::*p,
                  std::optional<double> SettingComparison::*adjusted) {
  std::vector<std::optional<double>> family;
  for (std::size_t k = begin; k < end; ++k) family.push_back(pairs[k].*p);
  const auto holm = holmAdjusted(family);
  for (std::size_t k = begin; k < end; ++k) pairs[k].*adjusted = holm[k - begin];
}

// One family per test.
void adjustInstance(std::vector<SettingComparison>& pairs, std::size_t begin, std::size_t end) {
  adjustFamily(pairs, begin, end, &SettingComparison::fisherP, &SettingComparison::fisherPHolm);
  adjustFamily(pairs, begin, end, &SettingComparison::mannWhitneyP,
               &SettingComparison::mannWhitneyPHolm);
  adjustFamily(pairs, begin, end, &SettingComparison::foundP, &SettingComparison::foundPHolm);
  adjustFamily(pairs, begin, end, &SettingComparison::dynamicF1P,
               &SettingComparison::dynamicF1PHolm);
}

}  // namespace

std::vector<SettingComparison> compareSettings(const std::vector<SettingSummary>& settings) {
  std::vector<SettingComparison> pairs;
  std::vector<bool> paired(settings.size(), false);
  for (std::size_t first = 0; first < settings.size(); ++first) {
    if (paired[first]) continue;
    std::vector<const SettingSummary*> instance;
    for (std::size_t k = first; k < settings.size(); ++k)
      if (settings[k].instance == settings[first].instance) {
        instance.push_back(&settings[k]);
        paired[k] = true;
      }
    const std::size_t begin = pairs.size();
    for (std::size_t i = 0; i < instance.size(); ++i)
      for (std::size_t j = i + 1; j < instance.size(); ++j)
        pairs.push_back(comparePair(*instance[i], *instance[j]));
    adjustInstance(pairs, begin, pairs.size());
  }
  return pairs;
}

bool significant(const std::optional<double>& adjustedP) {
  return adjustedP && *adjustedP < kSignificanceLevel;
}

}  // namespace jobshop
