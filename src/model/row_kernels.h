// The comparison of sequence rows behind rowDistance and rowDistances, one loop per vector unit;
// internal to the sequence table, named here so that a test can compare every unit the machine
// has.
#pragma once

#include <cstdint>

#include "model/sequence_table.h"

namespace jobshop::detail {

// The vector units a row comparison can use, narrowest first. Outside x86 only the generic loop
// exists, and naming another unit runs it.
enum class VectorUnit { generic, avx2, avx512 };

// The widest unit this machine has, found once.
VectorUnit widestVectorUnit();

// rowDistance and rowDistances with the loop of `unit`, which the machine must have.
int rowDistanceUsing(VectorUnit unit, const std::uint8_t* a, const std::uint8_t* b, int stride,
                     int cellBytes);
void rowDistancesUsing(VectorUnit unit, const std::uint8_t* row, const SequenceTable& table,
                       const int* rows, int count, int* out);

}  // namespace jobshop::detail
