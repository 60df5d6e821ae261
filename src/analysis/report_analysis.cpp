// Every figure the report's outputs show, computed once from the records.
#include "analysis/report_analysis.h"

#include "analysis/accumulation_curve.h"

namespace jobshop {

namespace {

// The union of every run's schedules, and the runs the figures count.
ReportAnalysis unitedRuns(const ResultRecords& records) {
  ReportAnalysis analysis;
  analysis.optima = uniteOptima(records.runs);
  analysis.counted = countedRuns(records.runs);
  return analysis;
}

std::vector<RunRecord> runsOf(const LoggedExecution& execution,
                              const std::vector<RunRecord>& runs) {
  std::vector<RunRecord> own;
  for (const RunRecord& run : runs) {
    if (run.execution == execution.number) own.push_back(run);
  }
  return own;
}

// The peak ratio and success rate of all runs and, where they exist, of each execution's runs.
void measureAgainstList(const ResultRecords& records, ReportAnalysis& analysis) {
  if (!analysis.coverage) return;
  const OptimaCoverage& coverage = *analysis.coverage;
  analysis.measures = enumerationMeasures(coverage, records.runs, analysis.optima);
  if (!analysis.measures) return;
  for (const LoggedExecution& execution : records.log.executions) {
    analysis.measuresByExecution.push_back(
        enumerationMeasures(coverage, runsOf(execution, records.runs), analysis.optima));
  }
}

std::optional<double> exactCountOf(const std::optional<OptimaCoverage>& coverage) {
  if (!coverage) return std::nullopt;
  const EnumeratedOptima& enumeration = coverage->enumeration;
  return exactCountFor(enumeration.complete, enumeration.bound, coverage->target,
                       static_cast<double>(enumeration.count));
}

// The averages over the counted runs that belong, copies left out as in every figure.
template <typename Belongs>
NichingAggregates aggregateCounted(const std::vector<RunRecord>& runs,
                                   const std::vector<std::optional<NichingMeasures>>& measures,
                                   Belongs belongs) {
  std::vector<std::optional<NichingMeasures>> counted;
  for (std::size_t r = 0; r < runs.size(); ++r)
    if (runs[r].repeatOf == 0 && belongs(runs[r])) counted.push_back(measures[r]);
  return aggregateMeasures(counted);
}

// Each run's measures from its trace, and their averages over all runs and per execution.
void measureTraces(const ResultRecords& records, ReportAnalysis& analysis) {
  analysis.exactCount = exactCountOf(analysis.coverage);
  for (const RunRecord& run : records.runs)
    analysis.runMeasures.push_back(nichingMeasures(run.trace, analysis.exactCount));
  const std::vector<std::optional<NichingMeasures>>& measures = analysis.runMeasures;
  analysis.niching =
      aggregateCounted(records.runs, measures, [](const RunRecord&) { return true; });
  for (const LoggedExecution& execution : records.log.executions)
    analysis.nichingByExecution.push_back(
        aggregateCounted(records.runs, measures,
                         [&](const RunRecord& run) { return run.execution == execution.number; }));
}

// Everything that follows from the union and the coverage.
void addFigures(const Instance& instance, const ResultRecords& records, ReportAnalysis& analysis) {
  analysis.summary =
      summariseRuns(analysis.counted, countedScheduleCount(analysis.optima, records.runs));
  for (const RunRecord& run : records.runs) analysis.runFigures.push_back(runFigures(run));
  analysis.repeats = executionRepeats(records.log, records.runs);

  analysis.incidence = scheduleIncidence(analysis.optima, records.runs, instance.targetMakespan);
  const ScheduleIncidence& incidence = analysis.incidence;
  analysis.estimates = estimateRichness(incidence.runsHolding, incidence.runCount);
  analysis.accumulation = accumulationCurve(incidence.runsHolding, incidence.runCount);
  measureAgainstList(records, analysis);
  measureTraces(records, analysis);

  analysis.map = nicheMap(analysis.optima, analysis.coverage);
  analysis.histograms = distanceHistograms(analysis.optima, analysis.coverage);
}

}  // namespace

ReportAnalysis analyseReport(const Instance& instance, ResultRecords& records,
                             std::optional<EnumeratedOptima> enumeration) {
  ReportAnalysis analysis = unitedRuns(records);
  if (enumeration) {
    analysis.coverage = coverOptima(std::move(*enumeration), instance, records.runs,
                                    analysis.optima, records.problems);
  }
  addFigures(instance, records, analysis);
  return analysis;
}

ReportAnalysis analyseReport(const Instance& instance, const ResultRecords& records,
                             std::optional<OptimaCoverage> coverage) {
  ReportAnalysis analysis = unitedRuns(records);
  analysis.coverage = std::move(coverage);
  addFigures(instance, records, analysis);
  return analysis;
}

}  // namespace jobshop
