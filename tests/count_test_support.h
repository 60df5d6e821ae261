// Fixtures of the schedule-count tests: random instances rich in zero times and ties, the stored
// benchmarks, and both ways of counting with everything but the bound and the threads left as is.
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>

#include "exact/exact_count.h"
#include "exact/search_problem.h"
#include "input/instance.h"
#include "sanitized_build.h"

namespace jobshop {

// jobs x machines with random routes; a quarter of the times are 0 and the rest come from three
// values in 1..9 picked per instance, so ties are common.
Instance randomCountInstance(int jobs, int machines, std::mt19937& random);

// tests/data/benchmarks/NAME.txt.
Instance benchmarkInstance(const std::string& name);

// The listing walk's count with no listing, limit or deadline.
std::int64_t listedCount(const SearchProblem& problem, int bound, int threads = 1);
// The same, or nothing once more than limit schedules exist.
std::optional<std::int64_t> listedCountUpTo(const SearchProblem& problem, int bound,
                                            std::int64_t limit);

// countExactly with the default memory unless memoryBytes is given.
ExactCountResult exactCount(const SearchProblem& problem, int bound, int threads = 1,
                            std::size_t memoryBytes = kDefaultCountMemoryMb << 20);

}  // namespace jobshop
