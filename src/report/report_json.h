// Every figure of the report page as one JSON document, for scripts and notebooks.
#pragma once

#include <string>

#include "analysis/report_analysis.h"
#include "input/instance.h"
#include "results/result_records.h"

namespace jobshop {

// One JSON object on one line, ended by a line feed, with the members
//   instance {jobs, machines, target}, problems [...], summary {...} (the summary cards, drawn
//   from the counted runs),
//   runs: one object per run with the per-run CSV's columns (camelCase, null where the CSV is
//     empty), targetEvaluations, counted (false for a copy), the execution's parameters and niching
//     (its method and settings);
//   distinctOptima {count, bestMakespan}: the distinct schedules of the best makespan B the
//     counted runs reached, B null when it lies above the target;
//   schedules: one object per schedule of optima {id, makespan, sequences, runs, inEnumeration
//     (null without a list), map ([x, y] or null)};
//   estimates {chao2, chao2Lower, chao2Upper, jackknife1, jackknife2, coverage, Q1, Q2, T,
//     lowerBoundOnly} or null for fewer than two counted runs;
//   accumulation [S(1), ..., S(T)];
//   enumeration {K, bound, complete, optimal, listed, found, peakRatio, successRate} or null
//     without "optima.json" (found null without a list, the ratios null without a complete one);
//   distanceHistograms {found, listed, nearestFound}, each {pairs, total, sampled} or null.
// Every number is finite: a figure that is not is null.
std::string reportJson(const Instance& instance, const ResultRecords& records,
                       const ReportAnalysis& analysis);

}  // namespace jobshop
