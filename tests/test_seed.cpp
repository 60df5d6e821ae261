#include "test_seed.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <random>

namespace jobshop {

unsigned testSeed() {
  const char* given = std::getenv("JOBSHOP_TEST_SEED");
  const unsigned seed = given != nullptr && *given != '\0'
                            ? static_cast<unsigned>(std::stoul(given))
                            : std::random_device{}();
  ::testing::Test::RecordProperty("seed", std::to_string(seed));
  std::cout << replayNote(seed) << "\n";
  return seed;
}

std::string replayNote(unsigned seed) {
  return "seed " + std::to_string(seed) +
         " (replay with JOBSHOP_TEST_SEED=" + std::to_string(seed) + ")";
}

}  // namespace jobshop
