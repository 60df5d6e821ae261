// Shared fixtures of the variation tests: the two example parents, offspring rows filled with
// distinct sentinels, scripted runs of one operator, and the checks every child must pass.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "model/population.h"
#include "scripted_random.h"
#include "variation/variation_scratch.h"

namespace jobshop {

using Genes = std::vector<float>;

// Parent 1 is (1,1) (2,1) (3,1) (1,2) (3,2) (2,2); parent 2 is (2,1) (1,1) (3,1) (2,2) (1,2) (3,2).
inline Genes exampleParent1() { return {1, 2, 3, 1, 3, 2}; }
inline Genes exampleParent2() { return {2, 1, 3, 2, 1, 3}; }

// Every value (genes and fitness slots) distinct, so any stray write shows.
inline Population sentinelPopulation(int rows, int geneCount) {
  Population pop(rows, geneCount);
  for (std::size_t v = 0; v < pop.values.size(); ++v)
    pop.values[v] = 1000.0f + static_cast<float>(v);
  return pop;
}

inline Genes rowGenes(const Population& pop, int k) {
  return Genes(pop.genes(k), pop.genes(k) + pop.geneCount);
}

inline bool holdsEveryJobExactly(const Genes& genes, int jobs, int machines) {
  std::vector<int> counts(static_cast<std::size_t>(jobs) + 1, 0);
  for (float gene : genes) {
    const int job = static_cast<int>(gene);
    if (static_cast<float>(job) != gene || job < 1 || job > jobs) return false;
    ++counts[static_cast<std::size_t>(job)];
  }
  return std::all_of(counts.begin() + 1, counts.end(), [&](int c) { return c == machines; });
}

inline Genes randomChromosome(int jobs, int machines, std::mt19937& rng) {
  Genes genes;
  for (int j = 1; j <= jobs; ++j)
    genes.insert(genes.end(), static_cast<std::size_t>(machines), static_cast<float>(j));
  std::shuffle(genes.begin(), genes.end(), rng);
  return genes;
}

inline std::vector<int> drawsWithin(const std::vector<int>& bounds, std::mt19937& rng) {
  std::vector<int> draws;
  for (int n : bounds) draws.push_back(std::uniform_int_distribution<int>(0, n - 1)(rng));
  return draws;
}

using CrossoverOperator = void (*)(Population&, const float*, const float*, int,
                                   detail::ScriptedRandom&, VariationScratch&);

struct CrossoverRun {
  Genes child1;
  Genes child2;
  std::vector<int> bounds;
  bool scriptFollowed = false;  // every scripted draw used, none outside its bound, none extra
};

inline CrossoverRun runCrossover(CrossoverOperator crossover, const Genes& parent1,
                                 const Genes& parent2, std::vector<int> draws) {
  const int geneCount = static_cast<int>(parent1.size());
  Population offspring = sentinelPopulation(2, geneCount);
  detail::ScriptedRandom random(std::move(draws));
  VariationScratch scratch;
  crossover(offspring, parent1.data(), parent2.data(), 1, random, scratch);
  return {rowGenes(offspring, 0), rowGenes(offspring, 1), random.bounds,
          random.allConsumed() && !random.misused};
}

// Many random valid parent pairs of random sizes, at a random pair of a larger offspring, reusing
// one scratch throughout: both children valid, the draw bounds those of `expectedBounds`, parents,
// fitness slots and every other row unchanged.
inline void expectCrossoverKeepsEverythingValid(
    const std::string& name, CrossoverOperator crossover,
    const std::function<std::vector<int>(int geneCount)>& expectedBounds) {
  std::mt19937 rng(20240611u);
  VariationScratch scratch;
  for (int trial = 0; trial < 300; ++trial) {
    const int jobs = std::uniform_int_distribution<int>(1, 6)(rng);
    const int machines = std::uniform_int_distribution<int>(1, 5)(rng);
    const int geneCount = jobs * machines;
    const Genes parent1 = randomChromosome(jobs, machines, rng);
    const Genes parent2 = trial % 10 == 0 ? parent1 : randomChromosome(jobs, machines, rng);
    const Genes before1 = parent1;
    const Genes before2 = parent2;
    const int pair = std::uniform_int_distribution<int>(1, 3)(rng);
    Population offspring = sentinelPopulation(6, geneCount);
    const Population untouched = offspring;
    const std::vector<int> bounds = expectedBounds(geneCount);
    detail::ScriptedRandom random(drawsWithin(bounds, rng));
    crossover(offspring, parent1.data(), parent2.data(), pair, random, scratch);

    SCOPED_TRACE(name + " trial " + std::to_string(trial));
    EXPECT_EQ(random.bounds, bounds);
    EXPECT_TRUE(random.allConsumed());
    EXPECT_EQ(parent1, before1);
    EXPECT_EQ(parent2, before2);
    for (int row = 0; row < offspring.size; ++row) {
      const bool child = row == 2 * pair - 2 || row == 2 * pair - 1;
      if (child) {
        EXPECT_TRUE(holdsEveryJobExactly(rowGenes(offspring, row), jobs, machines))
            << "row " << row;
      } else {
        EXPECT_EQ(rowGenes(offspring, row), rowGenes(untouched, row)) << "row " << row;
      }
      EXPECT_EQ(offspring.fitness(row), untouched.fitness(row)) << "row " << row;
    }
  }
}

}  // namespace jobshop
