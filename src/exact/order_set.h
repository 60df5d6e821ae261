// The orders of jobs on machines that some schedules realise: one bit per machine and ordered
// pair of jobs ("a before b on m"), so that the backbone of a set of schedules (the pairs ordered
// the same way in all of them) is the pairs with exactly one of their two orders seen.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "exact/search_node.h"

namespace jobshop {

// 64-bit words of a problem's order set: machines * jobs * jobs bits.
int orderSetWords(const SearchProblem& problem);

// Marks what appending job's operation on machine fixed: job before every job still to come on
// the machine. Called after the append, when node.remaining no longer holds job there.
void addFixedOrders(const SearchNode& node, int machine, int job, std::span<std::uint64_t> seen);

void addOrders(std::span<std::uint64_t> to, std::span<const std::uint64_t> from);

// Every order seen, as {machine, job before, job after} (all from 0), machine by machine, then by
// the job before, then by the job after: what a piece of a count hands to the merge.
std::vector<std::array<int, 3>> ordersSeen(std::span<const std::uint64_t> seen, int jobs,
                                           int machines);

// Marks one order {machine, job before, job after} (all from 0) as seen.
void addOrder(const std::array<int, 3>& order, int jobs, std::span<std::uint64_t> seen);

// The pairs with exactly one order seen, as {machine, job before, job after} (all from 0),
// machine by machine, then by the lower job of the pair.
std::vector<std::array<int, 3>> backboneOrders(std::span<const std::uint64_t> seen, int jobs,
                                               int machines);

}  // namespace jobshop
