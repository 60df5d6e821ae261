// A schedule's machine orders as HTML, for the tables and lists of schedules.
#pragma once

#include <string>
#include <vector>

namespace jobshop {

// One <span class="order"> per machine ("M1 3 1 2"), so that lines break only between machines.
std::string machineOrders(const std::vector<int>& sequences, int jobs);

}  // namespace jobshop
