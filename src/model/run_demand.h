// What one run of an execution needs before it starts: the memory of its populations and the work
// of its mate selection. Both follow from the instance and the parameters alone, so an execution
// that no machine could finish is refused with its reason instead of failing hours later, or
// never ending.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "input/instance.h"
#include "input/parameters.h"

namespace jobshop {

// More gene comparisons than this in one run's mate selection is more than a day of work.
inline constexpr double kMaxMateComparisons = 1e14;

// The bytes of the three populations and their machine-sequence tables.
std::int64_t populationBytes(const Instance& instance, const Parameters& parameters);

// A lower bound on the gene comparisons one run's mate selection makes: every generation evaluates
// at most N children, so a run has at least (maxEvaluations - N) / N generations, each comparing
// N/2 × mateCandidates candidates over L genes. Zero for the methods that do not draw mates so.
double mateComparisons(const Instance& instance, const Parameters& parameters);

struct RunDemandExcess {
  enum class Kind { kMemory, kMateSelection };
  Kind kind = Kind::kMemory;
  double needed = 0;     // bytes, or gene comparisons
  double available = 0;  // the usable bytes, or kMaxMateComparisons
};

// Why a run of this instance and these parameters could not finish, given the bytes this process
// may use (nullopt: unknown, so not checked); nothing when it could.
std::optional<RunDemandExcess> runDemandExcess(const Instance& instance,
                                               const Parameters& parameters,
                                               std::optional<std::int64_t> usableBytes);

}  // namespace jobshop
