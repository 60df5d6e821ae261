// Semi-active decoding and the stable makespan sort.
#include "model/makespan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <numeric>
#include <random>

#include "model/fitness_sort.h"
#include "test_instances.h"

namespace jobshop {

namespace {

// The decoder exactly as the algorithm states it: per-gene routing and time lookups, the start as
// "machine ready if at least job ready", jobEnd on the job's last operation, max over jobs.
float literalMakespan(const std::vector<float>& genes, const Instance& instance) {
  const std::size_t jobs = static_cast<std::size_t>(instance.jobs);
  std::vector<int> opCount(jobs + 1, 0);
  std::vector<float> jobReady(jobs + 1, 0.0f), jobEnd(jobs + 1, 0.0f);
  std::vector<float> machineReady(static_cast<std::size_t>(instance.machines) + 1, 0.0f);
  for (float gene : genes) {
    const int j = static_cast<int>(gene);
    const int o = opCount[static_cast<std::size_t>(j)];
    const int m = instance.machineOf(j, o + 1);
    const int t = instance.timeOn(j, m);
    opCount[static_cast<std::size_t>(j)] = o + 1;
    float& machine = machineReady[static_cast<std::size_t>(m)];
    float& job = jobReady[static_cast<std::size_t>(j)];
    const float start = machine >= job ? machine : job;
    const float end = start + static_cast<float>(t);
    machine = end;
    job = end;
    if (o + 1 == instance.machines) jobEnd[static_cast<std::size_t>(j)] = end;
  }
  float makespan = 0.0f;
  for (std::size_t c = 1; c <= jobs; ++c)
    if (jobEnd[c] > makespan) makespan = jobEnd[c];
  return makespan;
}

}  // namespace

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

TEST(Makespan, SameBitsAsTheLiteralDecoderOnRandomInstances) {
  // Times up to 2^23 push ready times past 2^24, where float additions round; one scratch serves
  // every instance in turn, so a stale table would show.
  std::mt19937 rng(99u);
  MakespanScratch scratch;
  for (int trial = 0; trial < 200; ++trial) {
    const int jobs = std::uniform_int_distribution<int>(1, 8)(rng);
    const int machines = std::uniform_int_distribution<int>(1, 6)(rng);
    const int largestTime = trial % 2 == 0 ? 20 : 1 << 23;
    std::vector<int> times, routing;
    std::vector<float> genes;
    for (int j = 1; j <= jobs; ++j) {
      std::vector<int> route(static_cast<std::size_t>(machines));
      std::iota(route.begin(), route.end(), 1);
      std::shuffle(route.begin(), route.end(), rng);
      routing.insert(routing.end(), route.begin(), route.end());
      for (int m = 0; m < machines; ++m) {
        times.push_back(std::uniform_int_distribution<int>(0, largestTime)(rng));
        genes.push_back(static_cast<float>(j));
      }
    }
    const Instance instance = makeInstance(jobs, machines, times, routing);
    for (int chromosome = 0; chromosome < 5; ++chromosome) {
      std::shuffle(genes.begin(), genes.end(), rng);
      EXPECT_EQ(std::bit_cast<std::uint32_t>(evaluateMakespan(genes.data(), instance, scratch)),
                std::bit_cast<std::uint32_t>(literalMakespan(genes, instance)))
          << "trial " << trial;
    }
  }
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

}  // namespace jobshop
