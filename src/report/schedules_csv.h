// The distinct schedules of all runs as comma-separated values, one row each, for scripts that
// want the schedules themselves rather than the per-run figures.
#pragma once

#include <optional>
#include <string>

#include "analysis/niche_map.h"
#include "analysis/optima_coverage.h"
#include "analysis/optimum_union.h"

namespace jobshop {

// A header row (id, makespan, sequences, runs, inEnumeration, mapX, mapY), then one row per
// schedule of optima in its order, id counting from 1 as the page's table does. sequences holds
// the machine sequences as "D_Sal_Soluciones.txt" writes them (jobs from 1, machine by machine)
// and runs the run numbers that held it, each space-separated in one quoted field; inEnumeration is
// true or false when coverage has a list to match against and empty otherwise; mapX and mapY are
// the schedule's point on map, empty when it is left off the map.
std::string schedulesCsv(const OptimumUnion& optima, const std::optional<OptimaCoverage>& coverage,
                         const NicheMap& map);

// A coordinate as the shortest text that reads back as the same double.
std::string roundTripNumber(double value);

}  // namespace jobshop
