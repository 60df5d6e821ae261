// The backbone from the schedules themselves, position by position: no search involved, so that
// it checks the one the count gathers.
#include "results/optima_backbone.h"

#include <algorithm>
#include <cstddef>

namespace jobshop {

namespace {

std::size_t at(int index) { return static_cast<std::size_t>(index); }

// before[(m * J + a) * J + b]: some schedule has job a before job b on machine m (from 0).
std::vector<bool> ordersSeen(const std::set<std::vector<int>>& schedules, int jobs, int machines) {
  const std::size_t width = at(jobs);
  std::vector<bool> before(at(machines) * width * width, false);
  for (const std::vector<int>& sequences : schedules) {
    for (std::size_t m = 0; m < at(machines); ++m) {
      const std::size_t row = m * width;
      for (std::size_t i = 0; i < width; ++i) {
        for (std::size_t k = i + 1; k < width; ++k) {
          const std::size_t a = at(sequences[row + i] - 1);
          const std::size_t b = at(sequences[row + k] - 1);
          before[(m * width + a) * width + b] = true;
        }
      }
    }
  }
  return before;
}

}  // namespace

std::int64_t machinePairs(int jobs, int machines) {
  return std::int64_t{machines} * jobs * (jobs - 1) / 2;
}

OptimaBackbone backboneOfSchedules(const std::set<std::vector<int>>& schedules, int jobs,
                                   int machines) {
  OptimaBackbone backbone;
  backbone.of = machinePairs(jobs, machines);
  const std::vector<bool> before = ordersSeen(schedules, jobs, machines);
  const std::size_t width = at(jobs);
  for (int m = 0; m < machines; ++m) {
    for (int a = 0; a < jobs; ++a) {
      for (int b = a + 1; b < jobs; ++b) {
        const bool ab = before[(at(m) * width + at(a)) * width + at(b)];
        const bool ba = before[(at(m) * width + at(b)) * width + at(a)];
        if (ab != ba) {
          backbone.orders.push_back(ab ? std::array{m + 1, a + 1, b + 1}
                                       : std::array{m + 1, b + 1, a + 1});
        }
      }
    }
  }
  return backbone;
}

std::vector<bool> backboneCells(const std::vector<int>& sequences, int jobs,
                                const OptimaBackbone& backbone) {
  const std::size_t width = at(jobs);
  std::vector<int> fixed(sequences.size() / std::max<std::size_t>(width, 1) * width, 0);
  // fixed[(m - 1) * J + j - 1]: how many of job j's pairs on machine m are in the backbone.
  for (const auto& [machine, first, second] : backbone.orders) {
    const std::size_t row = at(machine - 1) * width;
    if (row + width > fixed.size()) continue;
    ++fixed[row + at(first - 1)];
    ++fixed[row + at(second - 1)];
  }
  std::vector<bool> cells(sequences.size(), false);
  for (std::size_t c = 0; c < sequences.size() && width > 0; ++c) {
    const int job = sequences[c];
    const std::size_t row = c / width * width;
    if (job < 1 || job > jobs || row + width > fixed.size()) continue;
    cells[c] = fixed[row + at(job - 1)] == jobs - 1;
  }
  return cells;
}

}  // namespace jobshop
