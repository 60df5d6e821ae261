// The portable row comparison, and the choice of loop per vector unit behind the distances of the
// sequence table (defined here, so that the choice is made inside them without a further call).
#include "model/row_kernels.h"

#include <cstring>

#include "model/row_kernels_x86.h"

namespace jobshop {

namespace detail {

namespace {

// Cells are read with memcpy because a row's bytes hold them.
template <class Cell>
int countDiffering(const std::uint8_t* a, const std::uint8_t* b, int stride) {
  int differing = 0;
  for (int c = 0; c < stride; c += static_cast<int>(sizeof(Cell))) {
    Cell x;
    Cell y;
    std::memcpy(&x, a + c, sizeof(Cell));
    std::memcpy(&y, b + c, sizeof(Cell));
    differing += x != y;
  }
  return differing;
}

int rowDistanceGeneric(const std::uint8_t* a, const std::uint8_t* b, int stride, int cellBytes) {
  return cellBytes == 1 ? countDiffering<std::uint8_t>(a, b, stride)
                        : countDiffering<std::uint16_t>(a, b, stride);
}

void rowDistancesGeneric(const std::uint8_t* row, const SequenceTable& table, const int* rows,
                         int count, int* out) {
  for (int e = 0; e < count; ++e)
    out[e] = rowDistanceGeneric(row, table.row(rows[e]), table.stride, table.cellBytes);
}

}  // namespace

#if JOBSHOP_X86_KERNELS

VectorUnit widestVectorUnit() {
  static const VectorUnit widest = widestX86Unit();
  return widest;
}

int rowDistanceUsing(VectorUnit unit, const std::uint8_t* a, const std::uint8_t* b, int stride,
                     int cellBytes) {
  switch (unit) {
    case VectorUnit::avx512:
      return rowDistanceAvx512(a, b, stride, cellBytes);
    case VectorUnit::avx2:
      return rowDistanceAvx2(a, b, stride, cellBytes);
    case VectorUnit::generic:
      break;
  }
  return rowDistanceGeneric(a, b, stride, cellBytes);
}

void rowDistancesUsing(VectorUnit unit, const std::uint8_t* row, const SequenceTable& table,
                       const int* rows, int count, int* out) {
  switch (unit) {
    case VectorUnit::avx512:
      return rowDistancesAvx512(row, table, rows, count, out);
    case VectorUnit::avx2:
      return rowDistancesAvx2(row, table, rows, count, out);
    case VectorUnit::generic:
      break;
  }
  rowDistancesGeneric(row, table, rows, count, out);
}

#else

VectorUnit widestVectorUnit() { return VectorUnit::generic; }

int rowDistanceUsing(VectorUnit /*unit*/, const std::uint8_t* a, const std::uint8_t* b, int stride,
                     int cellBytes) {
  return rowDistanceGeneric(a, b, stride, cellBytes);
}

void rowDistancesUsing(VectorUnit /*unit*/, const std::uint8_t* row, const SequenceTable& table,
                       const int* rows, int count, int* out) {
  rowDistancesGeneric(row, table, rows, count, out);
}

#endif

}  // namespace detail

void rowDistances(const std::uint8_t* row, const SequenceTable& table, const int* rows, int count,
                  int* out) {
  detail::rowDistancesUsing(detail::widestVectorUnit(), row, table, rows, count, out);
}

int rowDistance(const SequenceTable& a, int r, const SequenceTable& b, int s) {
  return detail::rowDistanceUsing(detail::widestVectorUnit(), a.row(r), b.row(s), b.stride,
                                  b.cellBytes);
}

}  // namespace jobshop
