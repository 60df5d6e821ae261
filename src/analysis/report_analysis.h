// Every figure the report's outputs show (the page, the CSVs and the JSON), computed once from the
// records, so that the outputs only lay them out and can never disagree.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/distance_histograms.h"
#include "analysis/enumeration_measures.h"
#include "analysis/niche_map.h"
#include "analysis/niching_measures.h"
#include "analysis/optima_coverage.h"
#include "analysis/optimum_union.h"
#include "analysis/richness_estimates.h"
#include "analysis/run_summary.h"
#include "analysis/schedule_incidence.h"
#include "input/instance.h"
#include "results/optima_file.h"
#include "results/result_records.h"
#include "results/run_marks.h"

namespace jobshop {

struct ReportAnalysis {
  OptimumUnion optima;                     // every run's schedules, copies included
  std::optional<OptimaCoverage> coverage;  // against the folder's enumeration, when it has one
  std::vector<RunRecord> counted;          // the runs every figure counts: all but the copies
  ReportSummary summary;                   // of the counted runs
  std::vector<RunFigures> runFigures;      // per run, copies included
  std::vector<ExecutionRepeat> repeats;
  ScheduleIncidence incidence;                  // of the best makespan, over the counted runs
  std::optional<RichnessEstimates> estimates;   // from the incidence
  std::vector<double> accumulation;             // S(1), ..., S(T) from the incidence
  std::optional<EnumerationMeasures> measures;  // of all runs against a complete list
  // Per execution of the record, the same over its own runs; empty unless measures.
  std::vector<std::optional<EnumerationMeasures>> measuresByExecution;
  NicheMap map;
  DistanceHistograms histograms;
  // K for the measures of the runs' traces: the enumeration's count when it is complete and at
  // the target; without it only the measures that need no K are known.
  std::optional<double> exactCount;
  std::vector<std::optional<NichingMeasures>> runMeasures;  // per run, copies included
  NichingAggregates niching;                                // over the counted runs
  std::vector<NichingAggregates> nichingByExecution;        // per execution of the record
};

// The analysis of records against enumeration (the folder's "optima.json", when it has one); what
// the enumeration says that the runs contradict is added to records.problems.
ReportAnalysis analyseReport(const Instance& instance, ResultRecords& records,
                             std::optional<EnumeratedOptima> enumeration);

// The same for a coverage already matched against the records' runs (or none).
ReportAnalysis analyseReport(const Instance& instance, const ResultRecords& records,
                             std::optional<OptimaCoverage> coverage);

}  // namespace jobshop
