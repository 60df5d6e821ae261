// Tests of the four mutation operators: the worked examples on the buffer 1 2 3 4, how they share
// the buffer, and a property run over random chromosomes and draws.
#include "variation/mutations.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "variation_test_support.h"

namespace jobshop {

namespace {

using MutationOperator = void (*)(Population&, float*, int, detail::ScriptedRandom&,
                                  VariationScratch&);

const MutationOperator kScramble = scrambleMutation<detail::ScriptedRandom>;
const MutationOperator kSwap = swapMutation<detail::ScriptedRandom>;
const MutationOperator kInsertion = insertionMutation<detail::ScriptedRandom>;
const MutationOperator kNeighbourSwap = neighbourSwapMutation<detail::ScriptedRandom>;

struct MutationRun {
  Genes child;
  Genes buffer;
  std::vector<int> bounds;
};

// Mutates child 1 of three sentinel rows from `buffer`; checks that the draws followed the script
// and that nothing but child 1's genes changed in the offspring.
MutationRun runMutation(MutationOperator mutation, Genes buffer, std::vector<int> draws) {
  const int geneCount = static_cast<int>(buffer.size());
  Population offspring = sentinelPopulation(3, geneCount);
  const Population before = offspring;
  detail::ScriptedRandom random(std::move(draws));
  VariationScratch scratch;
  mutation(offspring, buffer.data(), 1, random, scratch);
  EXPECT_TRUE(random.allConsumed() && !random.misused);
  for (int row = 0; row < 3; ++row) {
    if (row != 1) {
      EXPECT_EQ(rowGenes(offspring, row), rowGenes(before, row));
    }
    EXPECT_EQ(offspring.fitness(row), before.fitness(row));
  }
  return {rowGenes(offspring, 1), buffer, random.bounds};
}

void expectMutation(MutationOperator mutation, const std::vector<int>& draws, const Genes& child,
                    const Genes& buffer, const std::vector<int>& bounds) {
  const MutationRun run = runMutation(mutation, {1, 2, 3, 4}, draws);
  EXPECT_EQ(run.child, child);
  EXPECT_EQ(run.buffer, buffer);
  EXPECT_EQ(run.bounds, bounds);
}

}  // namespace

TEST(Mutations, WorkedExamplesOnBuffer1234) {
  const Genes unchanged = {1, 2, 3, 4};
  expectMutation(kScramble, {3, 1, 2, 0}, {1, 4, 2, 3}, {1, 4, 2, 3}, {4, 4, 3, 2});
  expectMutation(kScramble, {2, 2}, unchanged, unchanged, {4, 4});
  expectMutation(kSwap, {0, 3}, {4, 2, 3, 1}, {4, 2, 3, 1}, {4, 4});
  expectMutation(kSwap, {2, 2}, unchanged, unchanged, {4, 4});
  expectMutation(kInsertion, {0, 3}, {2, 3, 4, 1}, unchanged, {4, 4});
  expectMutation(kInsertion, {3, 0}, {4, 1, 2, 3}, unchanged, {4, 4});
  expectMutation(kInsertion, {1, 2}, {1, 3, 2, 4}, unchanged, {4, 4});
  expectMutation(kNeighbourSwap, {0}, {2, 1, 3, 4}, {2, 1, 3, 4}, {4});
  expectMutation(kNeighbourSwap, {2}, {1, 2, 4, 3}, {1, 2, 4, 3}, {4});
  expectMutation(kNeighbourSwap, {3}, {1, 2, 4, 3}, {1, 2, 4, 3}, {4});

  const MutationRun equalGenes = runMutation(kSwap, {1, 2, 2, 1}, {0, 3});
  EXPECT_EQ(equalGenes.child, (Genes{1, 2, 2, 1}));
}

TEST(Mutations, SharedBufferAcrossSwapInsertionAndNeighbourSwap) {
  Population offspring = sentinelPopulation(2, 4);
  const float fitness = offspring.fitness(1);
  Genes buffer = {1, 2, 3, 4};
  detail::ScriptedRandom random({0, 1, 0, 3, 3});
  VariationScratch scratch;
  swapMutation(offspring, buffer.data(), 1, random, scratch);
  EXPECT_EQ(buffer, (Genes{2, 1, 3, 4}));
  EXPECT_EQ(rowGenes(offspring, 1), (Genes{2, 1, 3, 4}));
  insertionMutation(offspring, buffer.data(), 1, random, scratch);
  EXPECT_EQ(buffer, (Genes{2, 1, 3, 4}));
  EXPECT_EQ(rowGenes(offspring, 1), (Genes{1, 3, 4, 2}));
  neighbourSwapMutation(offspring, buffer.data(), 1, random, scratch);
  EXPECT_EQ(buffer, (Genes{2, 1, 4, 3}));
  EXPECT_EQ(rowGenes(offspring, 1), (Genes{2, 1, 4, 3}));
  EXPECT_EQ(offspring.fitness(1), fitness);
  EXPECT_TRUE(random.allConsumed());
}

TEST(Mutations, SingleGeneNeighbourSwapTouchesOnlyBufferAndChild) {
  // The buffer sits between two guards that must survive.
  Genes guarded = {-7, 1, -9};
  Population offspring = sentinelPopulation(3, 1);
  const Population before = offspring;
  detail::ScriptedRandom random({0});
  VariationScratch scratch;
  neighbourSwapMutation(offspring, guarded.data() + 1, 1, random, scratch);
  EXPECT_EQ(guarded, (Genes{-7, 1, -9}));
  EXPECT_EQ(rowGenes(offspring, 1), (Genes{1}));
  EXPECT_EQ(random.bounds, (std::vector<int>{1}));
  EXPECT_EQ(rowGenes(offspring, 0), rowGenes(before, 0));
  EXPECT_EQ(rowGenes(offspring, 2), rowGenes(before, 2));
  for (int row = 0; row < 3; ++row) EXPECT_EQ(offspring.fitness(row), before.fitness(row));
}

TEST(Mutations, RandomChromosomesStayValidWithTheTablesDraws) {
  std::mt19937 rng(99u);
  for (int trial = 0; trial < 400; ++trial) {
    const int jobs = std::uniform_int_distribution<int>(1, 6)(rng);
    const int machines = std::uniform_int_distribution<int>(1, 5)(rng);
    const int geneCount = jobs * machines;
    const Genes original = randomChromosome(jobs, machines, rng);
    const int a = std::uniform_int_distribution<int>(0, geneCount - 1)(rng);
    const int b = std::uniform_int_distribution<int>(0, geneCount - 1)(rng);
    SCOPED_TRACE("trial " + std::to_string(trial));

    std::vector<int> scrambleBounds = {geneCount, geneCount};
    for (int n = std::abs(a - b) + 1; n >= 2; --n) scrambleBounds.push_back(n);
    std::vector<int> scrambleDraws = drawsWithin(scrambleBounds, rng);
    scrambleDraws[0] = a;
    scrambleDraws[1] = b;
    const MutationRun scramble = runMutation(kScramble, original, scrambleDraws);
    EXPECT_EQ(scramble.bounds, scrambleBounds);
    EXPECT_EQ(scramble.child, scramble.buffer);
    EXPECT_TRUE(holdsEveryJobExactly(scramble.child, jobs, machines));
    // Only the segment may change.
    for (int k = 0; k < geneCount; ++k) {
      if (k < std::min(a, b) || k > std::max(a, b)) {
        EXPECT_EQ(scramble.child[static_cast<std::size_t>(k)],
                  original[static_cast<std::size_t>(k)]);
      }
    }

    for (MutationOperator twoDraws : {kSwap, kInsertion}) {
      const MutationRun run = runMutation(twoDraws, original, {a, b});
      EXPECT_EQ(run.bounds, (std::vector<int>{geneCount, geneCount}));
      EXPECT_TRUE(holdsEveryJobExactly(run.child, jobs, machines));
      EXPECT_EQ(run.buffer, twoDraws == kInsertion ? original : run.child);
    }

    const MutationRun neighbour = runMutation(kNeighbourSwap, original, {a});
    EXPECT_EQ(neighbour.bounds, (std::vector<int>{geneCount}));
    EXPECT_EQ(neighbour.child, neighbour.buffer);
    EXPECT_TRUE(holdsEveryJobExactly(neighbour.child, jobs, machines));
  }
}

TEST(Mutations, LongScrambleMatchesTakingFromOnePool) {
  // Short and long segments: the order must be that of erasing the drawn entry from one list, for
  // segments at both ends and across the middle.
  std::mt19937 rng(31u);
  for (int trial = 0; trial < 80; ++trial) {
    const int geneCount = std::uniform_int_distribution<int>(2, trial < 40 ? 70 : 2100)(rng);
    Genes genes(static_cast<std::size_t>(geneCount));
    for (int k = 0; k < geneCount; ++k) genes[static_cast<std::size_t>(k)] = static_cast<float>(k);
    const int a = std::uniform_int_distribution<int>(0, geneCount - 1)(rng);
    const int b = trial % 4 == 0 ? (a < geneCount / 2 ? geneCount - 1 : 0)
                                 : std::uniform_int_distribution<int>(0, geneCount - 1)(rng);
    const int lo = std::min(a, b);
    const int n = std::max(a, b) - lo;
    std::vector<int> draws = {a, b};
    Genes expected = genes;
    Genes pool(genes.begin() + lo, genes.begin() + lo + n + 1);
    for (int i = 0; i < n; ++i) {
      const int r = std::uniform_int_distribution<int>(0, n - i)(rng);
      draws.push_back(r);
      expected[static_cast<std::size_t>(lo + i)] = pool[static_cast<std::size_t>(r)];
      pool.erase(pool.begin() + r);
    }
    if (n > 0) expected[static_cast<std::size_t>(lo + n)] = pool[0];
    const MutationRun run = runMutation(kScramble, genes, draws);
    EXPECT_EQ(run.child, expected) << "trial " << trial;
    EXPECT_EQ(run.buffer, expected) << "trial " << trial;
  }
}

}  // namespace jobshop
