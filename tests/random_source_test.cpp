// The generator's published sequences and the rejection-based initialisation.
#include "model/random_source.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <vector>

#include "model/clock.h"
#include "model/initialisation.h"
#include "scripted_random.h"
#include "test_instances.h"

namespace jobshop {

TEST(RandomSource, PublishedSequences) {
  RandomSource random;
  random.seedRandom(0);
  EXPECT_EQ(random.state, 1u);
  for (int expected : {346, 13854878, 1621890440, 816282396, 1778554774})
    EXPECT_EQ(random.rawRandom(), expected);
  random.seedRandom(1);
  for (int expected : {1410184549, 672584604, 1915668986, 576821944, 167078712})
    EXPECT_EQ(random.rawRandom(), expected);
  random.seedRandom(0);
  for (int expected : {6, 8, 0, 6, 4}) EXPECT_EQ(random.randomBelow(10), expected);
}

TEST(RandomSource, BelowZeroAndOne) {
  RandomSource random;
  random.seedRandom(0);
  EXPECT_EQ(random.randomBelow(0), 0);
  EXPECT_EQ(random.state, 1u) << "randomBelow(0) must not advance the generator";
  EXPECT_EQ(random.randomBelow(1), 0);
  EXPECT_NE(random.state, 1u) << "randomBelow(1) advances one step";
  EXPECT_EQ(random.rawRandom(), 13854878);
}

TEST(RandomSource, SteppingClockReseedsIdenticallyOnlyForEqualReadings) {
  Clock clock = steppingClock(4294967295u);
  EXPECT_EQ(clock.read(), 4294967295u);
  EXPECT_EQ(clock.read(), 0u) << "wraps modulo 2^32";
  Clock frozen{[] { return 77u; }};
  RandomSource a, b;
  reseedFromClock(a, frozen);
  const int first = a.rawRandom();
  reseedFromClock(b, frozen);
  EXPECT_EQ(b.rawRandom(), first);
}

// Expected readings worked out by hand from the mixing steps (and stated with the clock's
// definition): seed 1 gives 3291240986, 541299110, 3010476760; seed 0, k = 0 gives 3793791033;
// seed 4294967295, k = 7 gives 1501329160.
TEST(RandomSource, HashedClockReadingsOfKnownSeeds) {
  Clock one = hashedClock(1);
  EXPECT_EQ(one.read(), 3291240986u);
  EXPECT_EQ(one.read(), 541299110u);
  EXPECT_EQ(one.read(), 3010476760u);
  EXPECT_EQ(hashedReading(0, 0), 3793791033u);
  EXPECT_EQ(hashedReading(4294967295u, 7), 1501329160u);
}

// Under the stepping clock seed S + 1 reads what seed S reads one step later; the hashed clock
// must give adjacent seeds disjoint readings over any realistic number of generations.
TEST(RandomSource, HashedClockOfAdjacentSeedsSharesNoReading) {
  for (std::uint32_t seed : {0u, 1u, 41u, 4294967294u}) {
    SCOPED_TRACE(seed);
    std::vector<std::uint32_t> first, second;
    Clock a = hashedClock(seed), b = hashedClock(seed + 1);
    for (int k = 0; k < 2000; ++k) {
      first.push_back(a.read());
      second.push_back(b.read());
    }
    std::sort(first.begin(), first.end());
    std::sort(second.begin(), second.end());
    std::vector<std::uint32_t> shared;
    std::set_intersection(first.begin(), first.end(), second.begin(), second.end(),
                          std::back_inserter(shared));
    EXPECT_TRUE(shared.empty()) << shared.size() << " shared readings";
  }
}

TEST(Initialisation, EveryChromosomeHoldsEachJobMTimes) {
  const Instance instance =
      makeInstance(4, 3, std::vector<int>(12, 1), {1, 2, 3, 3, 2, 1, 2, 1, 3, 1, 3, 2});
  Population population(20, 12);
  RandomSource random;
  random.seedRandom(5);
  initialisePopulation(population, instance, random);
  for (int k = 0; k < population.size; ++k) {
    std::vector<int> counts(5, 0);
    for (float gene : genesOf(population, k)) ++counts[static_cast<std::size_t>(gene)];
    EXPECT_EQ(counts, (std::vector<int>{0, 3, 3, 3, 3}));
    EXPECT_EQ(population.fitness(k), 0.0f);
  }
}

TEST(Initialisation, RejectsZeroAndCompleteJobs) {
  const Instance oneJob = makeInstance(1, 3, {1, 1, 1}, {1, 2, 3});
  Population population(1, 3);
  detail::ScriptedRandom draws({0, 1, 0, 0, 1, 1});
  initialisePopulation(population, oneJob, draws);
  EXPECT_EQ(genesOf(population, 0), (std::vector<float>{1, 1, 1}));
  EXPECT_TRUE(draws.allConsumed());
  EXPECT_EQ(draws.bounds, std::vector<int>(6, 2));

  const Instance twoJobs = twoByTwoInstance();
  Population two(1, 4);
  detail::ScriptedRandom script(
      {2, 2, 2, 0, 1, 1});  // the third 2 is rejected: job 2 already has M genes
  initialisePopulation(two, twoJobs, script);
  EXPECT_EQ(genesOf(two, 0), (std::vector<float>{2, 2, 1, 1}));
  EXPECT_TRUE(script.allConsumed());
}

TEST(RandomSource, SkippedDrawsAdvanceExactlyAsDrawnOnes) {
  for (int count : {1, 2, 7, 100, 1000, 4096}) {
    RandomSource drawn, skipped;
    drawn.seedRandom(42);
    skipped.seedRandom(42);
    for (int i = 0; i < count; ++i) drawn.randomBelow(37);
    skipped.skipDraws(37, count);
    EXPECT_EQ(skipped.state, drawn.state) << count;
  }
  RandomSource unchanged;
  unchanged.seedRandom(3);
  const std::uint64_t before = unchanged.state;
  unchanged.skipDraws(0, 10);  // randomBelow(0) never draws
  unchanged.skipDraws(5, 0);
  EXPECT_EQ(unchanged.state, before);

  // Powers of two are reduced by a mask: the values must equal the remainder's.
  RandomSource masked, reference;
  masked.seedRandom(8);
  reference.seedRandom(8);
  for (int i = 0; i < 1000; ++i) {
    const int n = 1 << (i % 31);
    EXPECT_EQ(masked.randomBelow(n), reference.rawRandom() % n);
  }
}

TEST(RandomSource, RemainderByReciprocalIsExact) {
  RandomSource random;
  std::mt19937 generator(17);
  std::uniform_int_distribution<std::uint32_t> raw(0, 0x7FFFFFFFu);
  for (int bound : {1, 2, 3, 7, 10, 100, 101, 400, 1000, 65535, 16777216, 2147483646, 2147483647}) {
    for (std::uint32_t value : {0u, 1u, 0x7FFFFFFFu, static_cast<std::uint32_t>(bound) - 1u})
      EXPECT_EQ(random.remainder(value, bound), value % static_cast<std::uint32_t>(bound));
    for (int i = 0; i < 2000; ++i) {
      const std::uint32_t value = raw(generator);
      ASSERT_EQ(random.remainder(value, bound), value % static_cast<std::uint32_t>(bound))
          << value << " mod " << bound;
    }
  }
}

TEST(RandomSource, BatchedAndAlternatingBoundsDrawTheRawRemainders) {
  // Whatever the order of bounds (repeated, alternating, changing at every draw), every draw is
  // the raw value's remainder, and a batch is the same as the single draws it replaces.
  RandomSource single, batched, reference;
  single.seedRandom(99);
  batched.seedRandom(99);
  reference.seedRandom(99);
  std::mt19937 generator(5);
  std::uniform_int_distribution<int> pick(0, 5);
  const int bounds[] = {3, 100, 101, 64, 1, 2147483647};
  std::vector<int> out;
  for (int round = 0; round < 500; ++round) {
    const int n = bounds[pick(generator)];
    const int count = round % 7 == 0 ? 1 : round % 13;  // 0, 1 and runs beyond a block of four
    out.assign(static_cast<std::size_t>(count), -1);
    batched.randomBelowMany(n, count, out.data());
    for (int i = 0; i < count; ++i) {
      const int expected = reference.rawRandom() % n;
      ASSERT_EQ(single.randomBelow(n), expected) << round;
      ASSERT_EQ(out[static_cast<std::size_t>(i)], expected) << round << " " << i;
    }
    ASSERT_EQ(batched.state, single.state) << round;
  }
  RandomSource zero;
  zero.seedRandom(1);
  const std::uint64_t before = zero.state;
  int zeros[5] = {7, 7, 7, 7, 7};
  zero.randomBelowMany(0, 5, zeros);
  EXPECT_EQ(zero.state, before);
  EXPECT_EQ(std::vector<int>(zeros, zeros + 5), std::vector<int>(5, 0));
}

}  // namespace jobshop
