// Every pair of settings of an instance compared: do they reach the target at different rates,
// do their successful runs find different numbers of distinct optima, and do their runs find
// and keep them differently?
#pragma once

#include <optional>
#include <vector>

#include "analysis/setting_summary.h"

namespace jobshop {

// The level below which an adjusted p-value is called significant on the page.
inline constexpr double kSignificanceLevel = 0.05;

struct SettingComparison {
  const SettingSummary* a = nullptr;
  const SettingSummary* b = nullptr;
  // Fisher's exact test on the runs reaching the target, and A's rate minus B's; nothing when a
  // setting has no runs.
  std::optional<double> fisherP, fisherPHolm;
  std::optional<double> rateDifference;
  // The Mann-Whitney test on distinct optima per successful run, and the probability that a
  // successful run of A finds more than one of B (ties count half); nothing when a setting has no
  // successful run.
  std::optional<double> mannWhitneyP, mannWhitneyPHolm;
  std::optional<double> probabilityOfSuperiority;
  // The same test on the distinct optimal schedules a run found on its way, and on its dynamic
  // F1, over the runs with a trace (dynamic F1 only where K is known).
  std::optional<double> foundP, foundPHolm, foundSuperiority;
  std::optional<double> dynamicF1P, dynamicF1PHolm, dynamicF1Superiority;
};

// Each pair of settings of each instance, instances in the order they first appear, A before B in
// the order of settings. Holm's adjustment runs over the pairs of one instance, separately for
// each test.
std::vector<SettingComparison> compareSettings(const std::vector<SettingSummary>& settings);

// True when p is present and below kSignificanceLevel.
bool significant(const std::optional<double>& adjustedP);

}  // namespace jobshop
