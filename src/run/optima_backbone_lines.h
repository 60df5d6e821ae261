// The backbone of a count for optima.json and the command's summary: from the orders the count
// gathered, or from the schedules a listing count wrote.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <span>
#include <string>

#include "results/optima_file.h"
#include "support/failure.h"

namespace jobshop {

// The backbone of the schedules whose orders seen holds (exact/order_set.h), or none for no
// schedule at all.
OptimaBackbone backboneFromOrders(std::span<const std::uint64_t> seen,
                                  const EnumeratedOptima& count);

// The backbone of the schedules listed at path, which a complete count wrote; or why the list
// could not be read back.
OrFailure<OptimaBackbone> listedBackbone(const std::string& path, const EnumeratedOptima& count);

// "backbone P of T machine pairs (S %)", or why there is none.
void printBackboneLine(const EnumeratedOptima& count, std::ostream& out);

}  // namespace jobshop
