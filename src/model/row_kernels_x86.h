// The row comparisons written out for AVX2 and AVX-512, built on x86 processors only; elsewhere
// JOBSHOP_X86_KERNELS is 0 and the portable loop serves every unit.
#pragma once

#if defined(__x86_64__) || defined(__i386__)
#define JOBSHOP_X86_KERNELS 1
#else
#define JOBSHOP_X86_KERNELS 0
#endif

#if JOBSHOP_X86_KERNELS

#include <cstdint>

#include "model/row_kernels.h"
#include "model/sequence_table.h"

namespace jobshop::detail {

// The widest of AVX-512 (with BW, VL and POPCNT), AVX2 and none that the processor running the
// program has.
VectorUnit widestX86Unit();

// Each unit's loop for one pair of rows and for one row against many, the pair kept apart so that
// the single distances of the selection skip the batch's set-up.
int rowDistanceAvx2(const std::uint8_t* a, const std::uint8_t* b, int stride, int cellBytes);
void rowDistancesAvx2(const std::uint8_t* row, const SequenceTable& table, const int* rows,
                      int count, int* out);
int rowDistanceAvx512(const std::uint8_t* a, const std::uint8_t* b, int stride, int cellBytes);
void rowDistancesAvx512(const std::uint8_t* row, const SequenceTable& table, const int* rows,
                        int count, int* out);

}  // namespace jobshop::detail

#endif
