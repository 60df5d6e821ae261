// The estimates of how many schedules exist, and the runs against a complete list, in words.
#include "report/estimate_markup.h"

#include <algorithm>
#include <cmath>

#include "report/markup.h"
#include "support/number_format.h"

namespace jobshop {

namespace {

std::string strong(const char* className, const std::string& text) {
  return std::string("<strong class=\"") + className + "\">" + text + "</strong>";
}

// Two decimals, or two significant digits below 0.01: a peak ratio of 0.0016 is not 0.00.
std::string ratioText(double value) {
  if (value <= 0.0 || value >= 0.01) return fixedNumber(value, 2);
  return fixedNumber(value, std::min(6, 1 - static_cast<int>(std::floor(std::log10(value)))));
}

// One decimal, without it when the share rounds to a whole percent.
std::string tenthsText(double value) {
  const double tenths = std::round(value * 10.0);
  return fixedNumber(tenths / 10.0, std::fmod(tenths, 10.0) == 0.0 ? 0 : 1);
}

// A share under a thousandth keeps its first digits rather than reading "0 %".
std::string percentText(double share) {
  const double percent = share * 100.0;
  return (percent > 0.0 && percent < 0.1 ? ratioText(percent) : tenthsText(percent)) + " %";
}

std::string chao2Text(const RichnessEstimates& estimates) {
  std::string text = "Chao2 " + strong("chao2", estimateText(estimates.chao2));
  if (estimates.chao2Upper <= static_cast<double>(estimates.observed))
    return text + " (no sign of unseen schedules)";
  return text + " (95 % interval " + estimateText(estimates.chao2Lower) + " to " +
         estimateText(estimates.chao2Upper) + ")";
}

// Chao2 with the interval and the jackknives, when the runs support an estimate.
std::string estimateSentence(const std::string& schedules, const RichnessEstimates& estimates) {
  return "Estimated number of " + schedules + ", from how often the " +
         countOf(static_cast<std::int64_t>(estimates.runs), "run", "runs") + " found the " +
         groupedNumber(static_cast<std::int64_t>(estimates.observed)) +
         " they found: " + chao2Text(estimates) +
         "; jackknife 1: " + estimateText(estimates.jackknife1) +
         "; jackknife 2: " + estimateText(estimates.jackknife2) + "; sample coverage " +
         ratioText(estimates.coverage) + ".";
}

// Why the runs are too few: what the estimate would lean on is missing or too thin.
std::string tooFewReason(const RichnessEstimates& estimates) {
  std::string reason;
  if (estimates.q2 == 0) reason += ", none of them by exactly two runs";
  if (estimates.coverage < kLeastCoverageToEstimate)
    return reason + ", and the sample coverage is " + ratioText(estimates.coverage) +
           ", under the " + fixedNumber(kLeastCoverageToEstimate, 1) + " an estimate needs";
  return reason + " (sample coverage " + ratioText(estimates.coverage) + ")";
}

// Chao2 as a lower bound only, muted, with the reason; the interval and the jackknives would
// lend it a precision it does not have.
std::string lowerBoundSentence(const std::string& schedules, const RichnessEstimates& estimates) {
  return "Number of " + schedules + " in all: <span class=\"lower-bound\">at least " +
         strong("chao2", estimateText(estimates.chao2)) +
         " (Chao2; too few repeats to estimate the total)</span>. The " +
         countOf(static_cast<std::int64_t>(estimates.runs), "run", "runs") + " found " +
         groupedNumber(static_cast<std::int64_t>(estimates.observed)) + tooFewReason(estimates) +
         ".";
}

// Which makespan the estimates are about, when the reader could take it for another: the runs
// did better than the target, or recorded schedules of other makespans too.
std::string bestNote(const ScheduleIncidence& incidence, int targetMakespan, std::size_t recorded) {
  const int best = *incidence.bestMakespan;
  std::string text;
  if (best < targetMakespan) {
    text += " They are about makespan " + std::to_string(best) +
            ", the best the runs reached, below the target " + groupedNumber(targetMakespan) + ".";
  }
  const std::size_t others = recorded - std::min(recorded, incidence.schedules.size());
  if (others == 1) {
    text += " The one recorded schedule of another makespan is not counted in them.";
  } else if (others > 1) {
    text += " The " + std::to_string(others) +
            " recorded schedules of other makespans are not counted in them.";
  }
  return text;
}

}  // namespace

std::string estimateText(double value) {
  std::string fixed = fixedNumber(value, 1);
  const std::size_t point = fixed.find('.');
  if (point == std::string::npos) return fixed;
  return groupedDigits(fixed.substr(0, point)) + fixed.substr(point);
}

std::string undercountSentence() {
  return "These estimators undercount when some schedules are much harder for the runs to reach "
         "than others, as they usually are: read them as lower bounds in practice, not as "
         "unbiased guesses of the total.";
}

std::optional<std::int64_t> exactCountAtBest(const ScheduleIncidence& incidence,
                                             const std::optional<OptimaCoverage>& coverage) {
  // A count beyond the int64 maximum is far beyond anything runs could be set against.
  if (!coverage || !incidence.bestMakespan || !coverage->enumeration.complete ||
      coverage->enumeration.bound != *incidence.bestMakespan ||
      !coverage->enumeration.countDigits.empty())
    return std::nullopt;
  return coverage->enumeration.count;
}

std::string bestMakespanWords(const ScheduleIncidence& incidence,
                              const std::optional<OptimaCoverage>& coverage) {
  const std::string best = groupedNumber(*incidence.bestMakespan);
  if (coverage && coverage->enumeration.optimal &&
      coverage->enumeration.bound == *incidence.bestMakespan)
    return "optimal schedules (makespan " + best + ")";
  return "schedules of makespan " + best;
}

std::string estimatesParagraph(const ScheduleIncidence& incidence,
                               const std::optional<RichnessEstimates>& estimates,
                               const std::optional<OptimaCoverage>& coverage, int targetMakespan,
                               std::size_t recorded) {
  if (!estimates || !incidence.bestMakespan || estimates->observed == 0) return {};
  const std::string schedules = escapeMarkup(bestMakespanWords(incidence, coverage));
  std::string html = "<p class=\"estimates\">" + (estimates->lowerBoundOnly
                                                      ? lowerBoundSentence(schedules, *estimates)
                                                      : estimateSentence(schedules, *estimates));
  if (const std::optional<std::int64_t> exact = exactCountAtBest(incidence, coverage)) {
    html += " The enumeration counts " + strong("exact-count", groupedNumber(*exact)) +
            " of makespan \u2264 " + groupedNumber(*incidence.bestMakespan) + ".";
  }
  html += bestNote(incidence, targetMakespan, recorded);
  return html + " <span class=\"caveat\">" + undercountSentence() + "</span></p>";
}

std::string enumerationMeasuresParagraph(const EnumerationMeasures& measures,
                                         std::size_t countedRuns) {
  const std::size_t allFound = static_cast<std::size_t>(
      std::lround(measures.successRate * static_cast<double>(countedRuns)));
  return "<p class=\"enumeration-measures\">Against the list of " +
         groupedNumber(static_cast<std::int64_t>(measures.listed)) + ": peak ratio " +
         strong("peak-ratio", ratioText(measures.peakRatio)) + " (a run found " +
         percentText(measures.peakRatio) + " of the listed schedules on average); success rate " +
         strong("success-rate", ratioText(measures.successRate)) + " (" + std::to_string(allFound) +
         " of " + countOf(static_cast<std::int64_t>(countedRuns), "run", "runs") +
         " found all of them).</p>";
}

std::string enumerationMeasuresCell(const EnumerationMeasures& measures) {
  return ratioText(measures.peakRatio) + " / " + ratioText(measures.successRate);
}

}  // namespace jobshop
