// How the page names the schedules the runs recorded at the target: "optimal" only when
// "optima.json" proves the target to be the instance's optimum. Otherwise the target may lie above
// the optimum, or nobody knows, and they are schedules "at or below the target".
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "analysis/optima_coverage.h"

namespace jobshop {

struct ScheduleNaming {
  bool proven = false;

  // "optimum" / "schedule", "optima" / "schedules": short names where the heading already said
  // what they are.
  std::string noun(std::int64_t count) const {
    if (proven) return count == 1 ? "optimum" : "optima";
    return count == 1 ? "schedule" : "schedules";
  }
  std::string capitalNoun() const { return proven ? "Optimum" : "Schedule"; }
  // "optimal schedule(s)" or "schedule(s) at or below the target", after an optional adjective
  // ("distinct"); counted() puts the count in front: "1 optimal schedule".
  std::string phrase(std::int64_t count, const std::string& adjective = "") const {
    const std::string before = adjective.empty() ? "" : adjective + " ";
    if (proven) return before + (count == 1 ? "optimal schedule" : "optimal schedules");
    return before + (count == 1 ? "schedule" : "schedules") + " at or below the target";
  }
  std::string counted(std::int64_t count, const std::string& adjective = "") const {
    return std::to_string(count) + " " + phrase(count, adjective);
  }
  // "Optimal schedules" / "Schedules at or below the target", for headings.
  std::string heading() const {
    return proven ? "Optimal schedules" : "Schedules at or below the target";
  }
};

inline ScheduleNaming scheduleNaming(const std::optional<OptimaCoverage>& coverage) {
  return ScheduleNaming{targetProvenOptimal(coverage)};
}

}  // namespace jobshop
