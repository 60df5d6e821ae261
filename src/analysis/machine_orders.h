// A schedule's machine orders as HTML, for the tables and lists of schedules, and the cells in
// which two schedules' orders differ.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace jobshop {

// Per cell of sequences (machine 1's jobs, then machine 2's, ...), whether reference holds another
// job there; cells past the end of reference differ.
std::vector<bool> differingCells(const std::vector<int>& sequences,
                                 const std::vector<int>& reference);

// Past this many cells (a 100 x 50 instance) a schedule's orders would fill megabytes of the page
// for each schedule listed, so they are left to the result files.
inline constexpr std::size_t kListedCells = 5000;

// One <span class="order"> per machine ("M1 3 1 2"), so that lines break only between machines;
// the jobs of the cells that marked sets (when not empty) are wrapped in <mark>, and those that
// shaded sets in a shaded <span class="fixed">. Past kListedCells cells, a
// <span class="order left-out"> that says how many cells there are instead.
std::string machineOrders(const std::vector<int>& sequences, int jobs,
                          const std::vector<bool>& marked = {},
                          const std::vector<bool>& shaded = {});

}  // namespace jobshop
