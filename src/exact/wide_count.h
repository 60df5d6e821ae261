// Counts of schedules that cannot overflow: each is a fixed number of 64-bit limbs, least
// significant first, enough for the most schedules an instance can have ((J!)^M).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "exact/search_problem.h"

namespace jobshop {

using CountLimbs = std::span<std::uint64_t>;
using ConstCountLimbs = std::span<const std::uint64_t>;

// Limbs that hold (J!)^M, the number of ways to order the jobs on every machine, with room to
// spare.
int countLimbsFor(const SearchProblem& problem);

void clearCount(CountLimbs count);
void addCount(CountLimbs to, ConstCountLimbs from);
void addSmallCount(CountLimbs to, unsigned __int128 value);
// The count when it fits in 128 bits.
bool countFits128(ConstCountLimbs count, unsigned __int128& value);
// Decimal digits, in full.
std::string countDecimal(ConstCountLimbs count);

// An owned count: the totals of a search and what the checkpoints hold.
struct WideCount {
  std::vector<std::uint64_t> limbs;

  explicit WideCount(int width = 2) : limbs(static_cast<std::size_t>(width), 0) {}
  void add(const WideCount& other) { addCount(limbs, other.limbs); }
  std::string decimal() const { return countDecimal(limbs); }
  bool operator==(const WideCount& other) const = default;
};

// Reads decimal digits into a count of width limbs; nothing when text is not digits or too large.
std::optional<WideCount> parseWideCount(const std::string& text, int width);

}  // namespace jobshop
