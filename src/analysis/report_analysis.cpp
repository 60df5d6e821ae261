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
