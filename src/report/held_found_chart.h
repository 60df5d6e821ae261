// The optimal schedules the runs held and had found against the evaluations they spent, from the
// runs' traces: each run thin, the median across runs bold within its quartile band.
#pragma once

#include <string>
#include <vector>

#include "results/result_records.h"

namespace jobshop {

// At most this many runs are drawn one by one, so that the page stays small; the median and its
// band are over every run with a trace.
inline constexpr std::size_t kHeldFoundDrawnRuns = 100;

// An <svg class="held-found"> with, for held and for found (class "held-count" or "found-count"),
// one thin <path class="run-line ..."> per run with a trace (the first kHeldFoundDrawnRuns), a
// <path class="quartile-band ..."> and a <path class="median-line ...">, over evaluations from 0 to
// the most a run spent. Runs are sampled on a common grid of evaluations, a run's value at e being
// that of its last row at or before e; a run that has no row yet is left out there. Empty when
// no run has a trace.
std::string heldFoundChart(const std::vector<RunRecord>& runs);

// The chart's key, as HTML under it.
std::string heldFoundLegend();

}  // namespace jobshop
