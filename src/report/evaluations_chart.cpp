// Runs against the evaluations they spent: how many runs had reached the target after each number
// of evaluations, from what "executions.jsonl" recorded of each run.
#include "report/evaluations_chart.h"

#include <algorithm>
#include <cstdint>

#include "report/chart_frame.h"
#include "report/chart_support.h"
#include "report/markup.h"
#include "report/svg_elements.h"
#include "results/execution_record.h"

namespace jobshop {

namespace {

// Room right of the plot for the final count's label.
constexpr double kLabelMargin = 92.0;

struct Spent {
  std::vector<std::int64_t> reached;  // targetEvaluations of the runs that reached it, ascending
  std::size_t runs = 0;               // runs with recorded evaluations
  std::int64_t most = 0;              // the most evaluations one of them spent
};

Spent spentOf(const std::vector<RunRecord>& runs) {
  Spent spent;
  for (const RunRecord& run : runs) {
    if (!run.logged || !run.logged->evaluations) continue;
    ++spent.runs;
    spent.most = std::max(spent.most, *run.logged->evaluations);
    if (run.logged->targetEvaluations) spent.reached.push_back(*run.logged->targetEvaluations);
  }
  std::sort(spent.reached.begin(), spent.reached.end());
  return spent;
}

// "250k", "1.5M": evaluations run to millions, whose digits would crowd the axis.
std::string evaluationLabel(double value) {
  if (value >= 1e6) return tickLabel(value / 1e6) + "M";
  if (value >= 1e3) return tickLabel(value / 1e3) + "k";
  return tickLabel(value);
}

std::string axes(const ChartFrame& frame) {
  std::vector<double> ticks;
  std::vector<std::string> labels;
  for (double tick : niceTicks(0.0, frame.xHigh, 8)) {
    ticks.push_back(tick);
    labels.push_back(evaluationLabel(tick));
  }
  return chartAxes(frame, ticks, labels, "evaluations spent", "runs at the target", true);
}

// Up by one at each run's evaluations at the target, on to the most evaluations spent.
std::string reachedPath(const ChartFrame& frame, const Spent& spent) {
  // Appended piece by piece: g++ 12 wrongly warns (-Wrestrict) about "M" + a temporary string.
  std::string path = "M";
  path += coordinate(frame.x(0.0));
  path += ' ';
  path += coordinate(frame.y(0.0));
  for (std::size_t k = 0; k < spent.reached.size(); ++k) {
    path += " H";
    path += coordinate(frame.x(static_cast<double>(spent.reached[k])));
    path += " V";
    path += coordinate(frame.y(static_cast<double>(k + 1)));
  }
  path += " H";
  return path + coordinate(frame.x(static_cast<double>(spent.most)));
}

std::string chart(const Spent& spent) {
  ChartFrame frame;
  frame.height = 300.0;
  frame.right = kLabelMargin;
  frame.xHigh = static_cast<double>(std::max<std::int64_t>(spent.most, 1));
  frame.yHigh = static_cast<double>(spent.runs);
  const double endY = frame.y(static_cast<double>(spent.reached.size()));
  return svgOpen("evaluations", frame.width, frame.height) + axes(frame) +
         "<path class=\"series reached-count\" d=\"" + reachedPath(frame, spent) + "\"/>" +
         svgText("end-count", frame.plotRight() + 8.0, endY + 4.0, "start",
                 groupedNumber(static_cast<std::int64_t>(spent.reached.size())) + " of " +
                     groupedNumber(static_cast<std::int64_t>(spent.runs))) +
         "</svg>";
}

}  // namespace

std::string evaluationsChart(const std::vector<RunRecord>& runs) {
  const Spent spent = spentOf(runs);
  // A flat line at zero would say only what the runs table already says.
  if (spent.reached.empty()) return {};
  return "<h3>Runs at the target against evaluations</h3><p class=\"note\">How many of the " +
         countOf(static_cast<std::int64_t>(spent.runs), "run", "runs") +
         " with evaluations recorded in " + kExecutionRecordFileName +
         " had reached the target after each number of evaluations (its targetEvaluations). The "
         "best makespan is drawn against generations above and not against evaluations: a "
         "generation's cost varies, since a pair of parents that is not crossed costs only its "
         "mutated children, and the record gives a run's evaluations only where it reached the "
         "target and where it ended.</p><div class=\"chart\">" +
         chart(spent) + "</div>";
}

}  // namespace jobshop
