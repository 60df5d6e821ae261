// Bit (m * J + a) * J + b says "a before b on m": the orders a job's append fixes against the
// rest of its machine are then J consecutive bits, which one or two word writes set.
#include "exact/order_set.h"

namespace jobshop {

namespace {

std::size_t at(int index) { return static_cast<std::size_t>(index); }

bool orderSeen(std::span<const std::uint64_t> seen, std::size_t bit) {
  return (seen[bit / 64] >> (bit % 64) & 1) != 0;
}

}  // namespace

int orderSetWords(const SearchProblem& problem) {
  return (problem.machines * problem.jobs * problem.jobs + 63) / 64;
}

void addFixedOrders(const SearchNode& node, int machine, int job, std::span<std::uint64_t> seen) {
  const std::uint64_t after = node.remaining[at(machine)];
  if (after == 0) return;
  const std::size_t first = (at(machine) * at(node.jobs) + at(job)) * at(node.jobs);
  const std::size_t shift = first % 64;
  seen[first / 64] |= after << shift;
  if (shift != 0 && shift + at(node.jobs) > 64) seen[first / 64 + 1] |= after >> (64 - shift);
}

void addOrders(std::span<std::uint64_t> to, std::span<const std::uint64_t> from) {
  for (std::size_t w = 0; w < to.size(); ++w) to[w] |= from[w];
}

std::vector<std::array<int, 3>> ordersSeen(std::span<const std::uint64_t> seen, int jobs,
                                           int machines) {
  std::vector<std::array<int, 3>> orders;
  const std::size_t width = at(jobs);
  for (int m = 0; m < machines; ++m) {
    const std::size_t base = at(m) * width * width;
    for (int a = 0; a < jobs; ++a) {
      for (int b = 0; b < jobs; ++b)
        if (orderSeen(seen, base + at(a) * width + at(b))) orders.push_back({m, a, b});
    }
  }
  return orders;
}

void addOrder(const std::array<int, 3>& order, int jobs, std::span<std::uint64_t> seen) {
  const std::size_t bit = (at(order[0]) * at(jobs) + at(order[1])) * at(jobs) + at(order[2]);
  seen[bit / 64] |= std::uint64_t{1} << (bit % 64);
}

std::vector<std::array<int, 3>> backboneOrders(std::span<const std::uint64_t> seen, int jobs,
                                               int machines) {
  std::vector<std::array<int, 3>> orders;
  const std::size_t width = at(jobs);
  for (int m = 0; m < machines; ++m) {
    const std::size_t base = at(m) * width * width;
    for (int a = 0; a < jobs; ++a) {
      for (int b = a + 1; b < jobs; ++b) {
        const bool ab = orderSeen(seen, base + at(a) * width + at(b));
        const bool ba = orderSeen(seen, base + at(b) * width + at(a));
        if (ab != ba) orders.push_back(ab ? std::array{m, a, b} : std::array{m, b, a});
      }
    }
  }
  return orders;
}

}  // namespace jobshop
