// Limb arithmetic and decimal conversion by GMP's low-level functions, which work on limbs the
// caller owns, so that counts live in flat arrays with no allocation while the search runs.
#include "exact/wide_count.h"

#include <gmp.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace jobshop {

static_assert(sizeof(mp_limb_t) == sizeof(std::uint64_t) && GMP_NUMB_BITS == 64,
              "counts are kept in 64-bit limbs");

namespace {

mp_limb_t* limbs(CountLimbs count) { return reinterpret_cast<mp_limb_t*>(count.data()); }
const mp_limb_t* limbs(ConstCountLimbs count) {
  return reinterpret_cast<const mp_limb_t*>(count.data());
}

// Limbs in use: without the leading zero limbs.
mp_size_t usedLimbs(ConstCountLimbs count) {
  mp_size_t used = static_cast<mp_size_t>(count.size());
  while (used > 0 && count[static_cast<std::size_t>(used - 1)] == 0) --used;
  return used;
}

}  // namespace

int countLimbsFor(const SearchProblem& problem) {
  // log2((J!)^M) = M * log2(J!), plus a margin for the rounding of lgamma.
  const double bits = problem.machines * std::lgamma(problem.jobs + 1.0) / std::log(2.0) + 2.0;
  return std::max(2, static_cast<int>(std::ceil(bits / 64.0)));
}

void clearCount(CountLimbs count) { std::fill(count.begin(), count.end(), 0); }

void addCount(CountLimbs to, ConstCountLimbs from) {
  if (from.size() > to.size()) throw std::logic_error("a count added to a narrower one");
  mpn_add(limbs(to), limbs(to), static_cast<mp_size_t>(to.size()), limbs(from),
          static_cast<mp_size_t>(from.size()));
}

void addSmallCount(CountLimbs to, unsigned __int128 value) {
  const std::uint64_t low = static_cast<std::uint64_t>(value);
  const std::uint64_t high = static_cast<std::uint64_t>(value >> 64);
  const mp_size_t size = static_cast<mp_size_t>(to.size());
  mp_limb_t carry = mpn_add_1(limbs(to), limbs(to), size, low);
  if (high != 0 || carry != 0) {
    carry = mpn_add_1(limbs(to) + 1, limbs(to) + 1, size - 1, high + carry);
  }
}

bool countFits128(ConstCountLimbs count, unsigned __int128& value) {
  if (usedLimbs(count) > 2) return false;
  value = (static_cast<unsigned __int128>(count[1]) << 64) | count[0];
  return true;
}

std::string countDecimal(ConstCountLimbs count) {
  const mp_size_t used = usedLimbs(count);
  if (used == 0) return "0";
  // mpn_get_str overwrites its input, and needs one limb more than it holds.
  std::vector<mp_limb_t> scratch(count.begin(), count.begin() + used);
  scratch.push_back(0);
  std::string digits(static_cast<std::size_t>(used) * 20 + 1, '\0');
  const std::size_t length =
      mpn_get_str(reinterpret_cast<unsigned char*>(digits.data()), 10, scratch.data(), used);
  digits.resize(length);
  // mpn_get_str gives digit values, leading zeros possible.
  std::size_t first = 0;
  while (first + 1 < digits.size() && digits[first] == 0) ++first;
  std::string text;
  for (std::size_t k = first; k < digits.size(); ++k)
    text.push_back(static_cast<char>('0' + digits[k]));
  return text;
}

std::optional<WideCount> parseWideCount(const std::string& text, int width) {
  if (text.empty() || text.size() > 20 * static_cast<std::size_t>(width) ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  std::vector<unsigned char> digits(text.size());
  std::transform(text.begin(), text.end(), digits.begin(),
                 [](char c) { return static_cast<unsigned char>(c - '0'); });
  std::vector<mp_limb_t> value(digits.size() / 19 + 2, 0);
  const mp_size_t used = mpn_set_str(value.data(), digits.data(), digits.size(), 10);
  if (used > width) return std::nullopt;
  WideCount count(width);
  std::copy(value.begin(), value.begin() + used, count.limbs.begin());
  return count;
}

}  // namespace jobshop
