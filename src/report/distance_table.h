// The matrix of distances between the optima of one run, as an HTML table.
#pragma once

#include <string>
#include <vector>

namespace jobshop {

// A square table of distances, optima numbered from 1, shaded by distance relative to maxDistance.
std::string distanceTable(const std::vector<std::vector<int>>& matrix, int maxDistance);

}  // namespace jobshop
