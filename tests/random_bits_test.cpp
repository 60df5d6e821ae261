// The batched bit draws against one randomBelow(2) per bit.
#include "variation/random_bits.h"

#include <gtest/gtest.h>

#include <vector>

namespace jobshop {

TEST(RandomBits, SameBitsAndStateAsOneDrawPerBit) {
  for (const std::uint32_t seed : {0u, 1u, 12345u, 4294967295u}) {
    for (int count : {0, 1, 2, 3, 4, 5, 7, 8, 9, 100, 601, 2000}) {
      RandomSource batched;
      batched.seedRandom(seed);
      batched.rawRandom();  // start away from the seeded state's zero high half
      RandomSource plain = batched;
      std::vector<unsigned char> bits(static_cast<std::size_t>(count) + 1, 7);
      drawBits(batched, count, bits.data());
      std::vector<unsigned char> expected(static_cast<std::size_t>(count) + 1, 7);
      for (int k = 0; k < count; ++k)
        expected[static_cast<std::size_t>(k)] = static_cast<unsigned char>(plain.randomBelow(2));
      EXPECT_EQ(bits, expected) << "seed " << seed << " count " << count;
      EXPECT_EQ(batched.state, plain.state) << "seed " << seed << " count " << count;
    }
  }
}

}  // namespace jobshop
