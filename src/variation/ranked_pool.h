// A list of genes from which entries are taken one by one by their rank among those still there,
// as if each were erased from one list. The list is kept in blocks of at most kBlock entries with
// a count per block, so a take walks the counts and shifts one block instead of shifting the whole
// rest of a long list.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace jobshop {

struct RankedPool {
  static constexpr int kBlock = 64;
  std::vector<float> entries;  // block b at b * kBlock, its first count[b] entries in list order
  std::vector<int> count;

  void reset(const float* values, int n) {
    const int blocks = (n + kBlock - 1) / kBlock;
    entries.resize(static_cast<std::size_t>(blocks) * kBlock);
    count.resize(static_cast<std::size_t>(blocks));
    std::copy(values, values + n, entries.begin());
    for (int b = 0; b < blocks; ++b)
      count[static_cast<std::size_t>(b)] = std::min(kBlock, n - b * kBlock);
  }

  // The remaining entry of rank r (0-based, below the number remaining), which is then no longer
  // there. A rank beyond the remaining entries (a misused draw) takes the last one.
  float take(int r) {
    const int blocks = static_cast<int>(count.size());
    int b = 0;
    while (b + 1 < blocks && r >= count[static_cast<std::size_t>(b)])
      r -= count[static_cast<std::size_t>(b++)];
    int& inBlock = count[static_cast<std::size_t>(b)];
    r = std::clamp(r, 0, std::max(inBlock - 1, 0));
    float* block = entries.data() + static_cast<std::size_t>(b) * kBlock;
    const float taken = block[r];
    std::copy(block + r + 1, block + inBlock, block + r);
    inBlock = std::max(inBlock - 1, 0);
    return taken;
  }
};

}  // namespace jobshop
