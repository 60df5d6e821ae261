// Whether the tests run in the sanitizers' build, where the slowest of them are skipped.
#pragma once

#include <gtest/gtest.h>

namespace jobshop {

// The tests that take seconds in a plain build take minutes in the sanitizers' build (unoptimised,
// every access checked): the larger counts, and the process tests that start the program hundreds
// of times. There they are skipped, and the plain build runs them all.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kSanitizedBuild = true;
#else
inline constexpr bool kSanitizedBuild = false;
#endif
#define SKIP_WHEN_SANITIZED()     \
  if (::jobshop::kSanitizedBuild) \
  GTEST_SKIP() << "seconds in the plain build, which runs it; many minutes under the sanitizers"

}  // namespace jobshop
