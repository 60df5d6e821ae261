#include "report/niche_map_section.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "analysis/distance_histograms.h"
#include "analysis/niche_map.h"
#include "report/chart_support.h"
#include "report/distance_histogram_chart.h"
#include "report/markup.h"
#include "report/niche_map_chart.h"
#include "report/schedule_naming.h"

namespace jobshop {

namespace {

// As many runs as the convergence plot's legend names.
constexpr std::size_t kLegendRuns = 40;
// Kolmogorov-Smirnov distances below which the found pairs spread much like, or somewhat like, the
// listed ones.
constexpr double kAlike = 0.1;
constexpr double kSomewhatAlike = 0.3;

std::size_t unfoundCount(const OptimumUnion& optima,
                         const std::optional<OptimaCoverage>& coverage) {
  if (!coverage || !coverage->listed) return 0;
  std::size_t found = 0;
  for (const SharedOptimum& optimum : optima.schedules)
    found += coverage->enumeration.schedules.contains(optimum.sequences) ? 1 : 0;
  return coverage->enumeration.schedules.size() - found;
}

// A no-break space keeps the number and its sign on one line.
std::string percent(double share) { return std::to_string(std::lround(100.0 * share)) + "\u00a0%"; }

std::string sampleSentence(const NicheMap& map) {
  if (!map.sampled) return {};
  std::size_t shown = 0;
  for (const std::optional<MapPoint>& point : map.found) shown += point ? 1 : 0;
  if (shown < map.found.size()) {
    return " A uniform sample of " + groupedNumber(static_cast<std::int64_t>(shown)) + " of the " +
           groupedNumber(static_cast<std::int64_t>(map.found.size())) +
           " found schedules is shown" +
           (map.unfoundTotal > 0 ? ", without the listed ones no run found." : ".");
  }
  return " A uniform sample of " +
         groupedNumber(static_cast<std::int64_t>(map.unfoundListed.size())) + " of the " +
         groupedNumber(static_cast<std::int64_t>(map.unfoundTotal)) +
         " unfound listed schedules is shown, with every found one.";
}

std::string mapNote(const NicheMap& map, const ScheduleNaming& naming) {
  std::string note =
      "Each dot is a distinct " + naming.phrase(1) +
      ", placed so that the distance between two dots comes close to the number of cells "
      "(machine, position) in which their machine orders differ. The two axes carry " +
      percent(map.axisShare) +
      " of the positive eigenvalue mass of those distances: the nearer to 100\u00a0%, the truer "
      "the "
      "map. A dot takes the colour of the first run that found it (as in the convergence plot) "
      "and grows with the number of runs that held it";
  note += map.unfoundTotal > 0 ? "; small grey dots are listed schedules no run found." : ".";
  return note + sampleSentence(map);
}

std::string swatch(const std::string& colour, double radius, const std::string& label) {
  const std::string size = coordinate(2 * radius);
  return "<span class=\"key\"><span class=\"swatch dot\" style=\"background:" + colour +
         ";width:" + size + "px;height:" + size + "px\"></span>" + escapeMarkup(label) + "</span>";
}

// The runs whose colour some dot carries, and what dot sizes and grey mean.
std::string mapLegend(const NicheMap& map, const OptimumUnion& optima,
                      const std::vector<RunRecord>& runs, const std::vector<RunRecord>& counted) {
  std::set<int> firsts;
  std::size_t most = 1;
  for (std::size_t s = 0; s < map.found.size(); ++s) {
    if (!map.found[s]) continue;
    const std::vector<int> holders = heldBy(optima.schedules[s], runs);
    firsts.insert(holders.front());
    most = std::max(most, holders.size());
  }
  std::string html = "<div class=\"legend\">";
  if (firsts.size() <= kLegendRuns) {
    for (std::size_t r = 0; r < counted.size(); ++r) {
      if (firsts.contains(counted[r].run))
        html += swatch(seriesColour(static_cast<int>(r)), 6.0,
                       "first found by run " + std::to_string(counted[r].run));
    }
  }
  html += swatch("#8a93a3", dotRadius(1), "held by 1 run");
  if (most > 1) {
    html += swatch("#8a93a3", dotRadius(most),
                   "held by " + groupedNumber(static_cast<std::int64_t>(most)) + " runs");
  }
  if (!map.unfoundListed.empty()) html += swatch("#b8bec9", 3.2, "listed, found by no run");
  return html + "</div>";
}

int largestDistance(const DistanceHistograms& histograms) {
  std::size_t bins = histograms.found.pairs.size();
  if (histograms.listed) bins = std::max(bins, histograms.listed->pairs.size());
  if (histograms.nearestFound) bins = std::max(bins, histograms.nearestFound->pairs.size());
  return std::max(static_cast<int>(bins) - 1, 1);
}

// The whole distributions rather than their medians: two peaks around the listed pairs' one share
// their median and still spread otherwise.
std::string spreadComparison(double gap) {
  const std::string figure = " (Kolmogorov-Smirnov distance " + fixedNumber(gap, 2) +
                             ": the largest gap between the two histograms' cumulative shares).";
  if (gap < kAlike)
    return "the runs' schedules spread much like the listed ones as a whole" + figure;
  if (gap < kSomewhatAlike)
    return "the runs' schedules spread somewhat like the listed ones as a whole" + figure;
  return "the runs' schedules spread differently from the listed ones as a whole" + figure;
}

std::string cells(int count) { return countOf(count, "cell", "cells"); }

// How near the unfound listed schedules lie to a found one; a median of one would say nothing.
std::string nearestSentence(const DistanceHistogram& nearest) {
  const std::string farthest = cells(static_cast<int>(nearest.pairs.size()) - 1);
  if (nearest.total == 1 && !nearest.sampled)
    return " The one listed schedule no run found lies " + farthest + " from a found one.";
  const std::string within =
      " of a found one, half of them within " + groupedNumber(*medianDistance(nearest)) + ".";
  if (nearest.sampled) {
    return " Of a uniform sample of " + groupedNumber(static_cast<std::int64_t>(nearest.total)) +
           " of the listed schedules no run found, every one lies within " + farthest + within;
  }
  return " Every listed schedule no run found lies within " + farthest + within;
}

std::string histogramNote(const DistanceHistograms& histograms, std::size_t cellCount) {
  std::string note;
  // -1 where nothing was counted.
  const int found = medianDistance(histograms.found).value_or(-1);
  const int listed = histograms.listed ? medianDistance(*histograms.listed).value_or(-1) : -1;
  const std::string ofAll = " (of " + groupedNumber(static_cast<std::int64_t>(cellCount)) + ")";
  if (found >= 0) note += "Two found schedules lie a median " + cells(found) + " apart";
  if (found >= 0 && listed >= 0 && histograms.foundListedGap) {
    note += ", two listed ones " + cells(listed) + ofAll + ": " +
            spreadComparison(*histograms.foundListedGap);
  } else if (found >= 0) {
    note += ofAll + ".";
  } else if (listed >= 0) {
    note += "Two listed schedules lie a median " + cells(listed) + " apart" + ofAll + ".";
  }
  if (histograms.nearestFound && histograms.nearestFound->total > 0)
    note += nearestSentence(*histograms.nearestFound);
  if (histograms.found.sampled || (histograms.listed && histograms.listed->sampled)) {
    note += " Past " + groupedNumber(static_cast<std::int64_t>(kCountedPairs)) +
            " pairs, a uniform sample of that many pairs is counted.";
  }
  return note;
}

std::string histogramCharts(const DistanceHistograms& histograms) {
  const int largest = largestDistance(histograms);
  std::string html = "<div class=\"distance-histograms\">";
  if (histograms.found.total > 0) {
    html += "<div class=\"chart\">" +
            distanceHistogramChart(histograms.found, "Pairs of found schedules", "pairs", largest) +
            "</div>";
  }
  if (histograms.listed && histograms.listed->total > 0) {
    html += "<div class=\"chart\">" +
            distanceHistogramChart(*histograms.listed,
                                   histograms.listed->sampled ? "Pairs of listed schedules (sample)"
                                                              : "Pairs of listed schedules",
                                   "pairs", largest) +
            "</div>";
  }
  if (histograms.nearestFound && histograms.nearestFound->total > 0) {
    html += "<div class=\"chart\">" +
            distanceHistogramChart(*histograms.nearestFound,
                                   histograms.nearestFound->sampled
                                       ? "Unfound to the nearest found (sample)"
                                       : "Unfound to the nearest found",
                                   "schedules", largest) +
            "</div>";
  }
  return html + "</div>";
}

std::size_t cellCount(const OptimumUnion& optima, const std::optional<OptimaCoverage>& coverage) {
  if (!optima.schedules.empty()) return optima.schedules.front().sequences.size();
  if (coverage && !coverage->enumeration.schedules.empty())
    return coverage->enumeration.schedules.begin()->size();
  return 0;
}

}  // namespace

bool hasNicheMap(const OptimumUnion& optima, const std::optional<OptimaCoverage>& coverage) {
  return optima.schedules.size() + unfoundCount(optima, coverage) >= 2;
}

std::string nicheMapSection(const ReportAnalysis& analysis, const std::vector<RunRecord>& runs) {
  const OptimumUnion& optima = analysis.optima;
  const std::optional<OptimaCoverage>& coverage = analysis.coverage;
  if (!hasNicheMap(optima, coverage)) return {};
  const ScheduleNaming naming = scheduleNaming(coverage);
  const std::vector<RunRecord>& counted = analysis.counted;
  const NicheMap& map = analysis.map;
  const DistanceHistograms& histograms = analysis.histograms;
  return std::string("<section id=\"niche-map\"><h2>") +
         (naming.proven ? "Where the optima lie" : "Where the schedules lie") +
         "</h2><p class=\"note\">" + escapeMarkup(mapNote(map, naming)) +
         "</p><div class=\"chart\">" + nicheMapChart(map, optima, runs, counted) + "</div>" +
         mapLegend(map, optima, runs, counted) + "<h3>Distances</h3><p class=\"note\">" +
         escapeMarkup(histogramNote(histograms, cellCount(optima, coverage))) + "</p>" +
         histogramCharts(histograms) + "</section>";
}

}  // namespace jobshop
