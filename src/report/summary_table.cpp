// Rows of the collected summary, "-" where a setting has nothing to show.
#include "report/summary_table.h"

#include <optional>
#include <sstream>

#include "report/distinct_schedules_text.h"
#include "report/markup.h"
#include "support/number_format.h"

namespace jobshop {

namespace {

std::string optionalFixed(const std::optional<double>& value, int decimals) {
  return value ? fixedNumber(*value, decimals) : "-";
}

std::string successRate(const SettingSummary& s) {
  if (!s.targetPercent) return "-";
  return fixedNumber(*s.targetPercent, 0) + "% (" + fixedNumber(100 * s.successInterval.low, 0) +
         "-" + fixedNumber(100 * s.successInterval.high, 0) + ")";
}

// Best, mean, standard deviation, median and worst of the runs' best makespans.
std::string bestMakespanCells(const SettingSummary& s) {
  if (!s.bestMakespans) return "-\t-\t-\t-\t-";
  const Spread& spread = *s.bestMakespans;
  return plainNumber(spread.lowest) + '\t' + fixedNumber(spread.mean, 1) + '\t' +
         fixedNumber(spread.standardDeviation, 1) + '\t' + plainNumber(spread.median) + '\t' +
         plainNumber(spread.highest);
}

std::string row(const SettingSummary& s) {
  std::ostringstream line;
  line << s.instance << '\t' << s.setting << '\t' << s.finished << '/' << s.planned << '\t'
       << s.runs << '\t' << s.runsReachingTarget << '\t' << successRate(s) << '\t'
       << bestMakespanCells(s) << '\t'
       << (s.distinctOptimaPerRun ? fixedNumber(s.distinctOptimaPerRun->mean, 1) : "-") << '\t'
       << distinctSchedulesText(s) << '\t' << optionalFixed(s.secondsPerExecution, 2) << '\n';
  return line.str();
}

}  // namespace

std::string summaryTable(const CampaignAnalysis& analysis) {
  std::string table =
      "instance\tsetting\tfinished\truns\treached\trate (95 % interval)\tbest\tmean\tsd\t"
      "median\tworst\toptima per run\tdistinct schedules\tseconds per execution\n";
  for (const SettingSummary& s : analysis.settings) table += row(s);
  return table;
}

}  // namespace jobshop
