// Semi-active decoding and the stable makespan sort.
#include "model/makespan.h"

#include <gtest/gtest.h>

#include "model/fitness_sort.h"
#include "test_instances.h"

TEST(Makespan, WorkedExamples) {
  const Instance instance = twoByTwoInstance();
  MakespanScratch scratch;
  const Population population = makePopulation({{1, 2, 2, 1}, {1, 1, 2, 2}, {2, 1, 1, 2}});
  EXPECT_EQ(evaluateMakespan(population, instance, 1, scratch), 6.0f);
  // Job 2's first operation waits on machine 2 for job 1 although the machine is idle from 0 to 3.
  EXPECT_EQ(evaluateMakespan(population, instance, 2, scratch), 11.0f);
  EXPECT_EQ(evaluateMakespan(population, instance, 3, scratch), 6.0f);
  EXPECT_EQ(population.fitness(0), 0.0f) << "the decoder never stores its result";
}

TEST(Makespan, ExampleInstanceAndOneJob) {
  MakespanScratch scratch;
  const float genes[] = {1, 2, 1, 2, 1, 2};
  EXPECT_EQ(evaluateMakespan(genes, exampleInstance(), scratch), 10.0f);
  const Instance oneJob = makeInstance(1, 3, {4, 5, 6}, {3, 1, 2});
  const float ones[] = {1, 1, 1};
  EXPECT_EQ(evaluateMakespan(ones, oneJob, scratch), 15.0f);
}

TEST(FitnessSort, StableInsertionSort) {
  int indices[] = {0, 1, 2, 3};
  float values[] = {5, 3, 5, 3};
  sortByFitness(indices, values, 4);
  EXPECT_EQ(std::vector<float>(values, values + 4), (std::vector<float>{3, 3, 5, 5}));
  EXPECT_EQ(std::vector<int>(indices, indices + 4), (std::vector<int>{1, 3, 0, 2}));
  int one[] = {7};
  float oneValue[] = {2};
  sortByFitness(one, oneValue, 1);
  EXPECT_EQ(one[0], 7);
  sortByFitness(nullptr, nullptr, 0);
}

TEST(FitnessSort, OrderByFitnessMovesWholeIndividualsKeepingTies) {
  Population population = makePopulation({{1, 1}, {2, 2}, {3, 3}, {4, 4}}, {5, 3, 5, 3});
  Population copy;
  orderByFitness(population, copy);
  EXPECT_EQ(genesOf(population, 0), (std::vector<float>{2, 2}));
  EXPECT_EQ(genesOf(population, 1), (std::vector<float>{4, 4}));
  EXPECT_EQ(genesOf(population, 2), (std::vector<float>{1, 1}));
  EXPECT_EQ(genesOf(population, 3), (std::vector<float>{3, 3}));
  EXPECT_EQ(population.fitness(3), 5.0f);
}
