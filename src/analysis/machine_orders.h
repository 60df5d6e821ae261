// A schedule's machine orders as HTML, for the tables and lists of schedules, and the cells in
// which two schedules' orders differ.
#pragma once

#include <string>
#include <vector>

namespace jobshop {

// Per cell of sequences (machine 1's jobs, then machine 2's, ...), whether reference holds another
// job there; cells past the end of reference differ.
std::vector<bool> differingCells(const std::vector<int>& sequences,
                                 const std::vector<int>& reference);

// One <span class="order"> per machine ("M1 3 1 2"), so that lines break only between machines;
// the jobs of the cells that marked sets (when not empty) are wrapped in <mark>.
std::string machineOrders(const std::vector<int>& sequences, int jobs,
                          const std::vector<bool>& marked = {});

}  // namespace jobshop
