// The end-of-run analysis and the exact records it gives.
#include "evolution/optima_analysis.h"

#include <gtest/gtest.h>

#include "results/run_writing.h"
#include "test_instances.h"

namespace jobshop {

namespace {

struct AnalysedFiles {
  std::string optima, count, distances, solutions;
};

// The analysis as the four files receive it.
AnalysedFiles analyse(const Population& population, const Instance& instance) {
  SequenceScratch scratch;
  const FinalPopulationAnalysis analysis = analyseFinalPopulation(population, instance, scratch);
  RunRecords records;
  appendAnalysisRecords(analysis, records);
  const std::string& count = records.text[kOptimumCountFile];
  EXPECT_EQ(analysis.distinctCount(), count.empty() ? 0 : std::stoll(count))
      << "the count it holds is the one written";
  EXPECT_EQ(analysis.bestMakespan, population.fitness(0));
  return {records.text[kOptimaFile], count, records.text[kDistanceFile],
          records.text[kSolutionFile]};
}

}  // namespace

TEST(OptimaAnalysis, ClonesOfOneScheduleCountOnce) {
  const Population population = makePopulation(
      {{1, 2, 1, 2, 1, 2}, {2, 1, 1, 2, 1, 2}, {1, 2, 1, 2, 1, 2}, {1, 1, 1, 2, 2, 2}},
      {10, 10, 10, 14});
  Instance instance = exampleInstance();
  const AnalysedFiles files = analyse(population, instance);
  EXPECT_EQ(files.optima, "10.0\n");
  EXPECT_EQ(files.count, "1\n");
  EXPECT_EQ(files.distances, "");
  EXPECT_EQ(files.solutions, "1 2 1 2 2 1 10 \n\n");

  instance.targetMakespan = 9;
  const AnalysedFiles above = analyse(population, instance);
  EXPECT_EQ(above.optima, "10.0\n");
  EXPECT_EQ(above.count + above.distances + above.solutions, "");

  instance.targetMakespan = 11;  // a best below the target counts as reaching it
  EXPECT_EQ(analyse(population, instance).count, "1\n");
}

TEST(OptimaAnalysis, AverageOfPairwiseDistances) {
  // With one machine the distance is the number of differing genes: 4, 6 and 8 pairwise.
  const Instance instance = makeInstance(8, 1, std::vector<int>(8, 1), std::vector<int>(8, 1), 8);
  const Population population = makePopulation({{1, 2, 3, 4, 5, 6, 7, 8},
                                                {2, 1, 4, 3, 5, 6, 7, 8},
                                                {2, 1, 4, 3, 5, 6, 7, 8},
                                                {1, 2, 5, 6, 3, 4, 8, 7},
                                                {8, 7, 6, 5, 4, 3, 2, 1}},
                                               {8, 8, 8, 8, 9});
  const AnalysedFiles files = analyse(population, instance);
  EXPECT_EQ(files.optima, "8.0\n");
  EXPECT_EQ(files.count, "3\n");
  EXPECT_EQ(files.distances, "6.00\n");
  EXPECT_EQ(files.solutions, "1 2 3 4 5 6 7 8 8 \n2 1 4 3 5 6 7 8 8 \n1 2 5 6 3 4 8 7 8 \n\n");
}

TEST(OptimaAnalysis, SingleIndividualAndLongLines) {
  const Population one = makePopulation({{1, 2, 1, 2, 1, 2}}, {10});
  const AnalysedFiles files = analyse(one, exampleInstance());
  EXPECT_EQ(files.count, "1\n");
  EXPECT_EQ(files.distances, "");

  // 40 x 30 cells of up to two digits: far beyond 1,024 characters, written whole.
  const int jobs = 40, machines = 30;
  std::vector<int> routing;
  for (int j = 0; j < jobs; ++j)
    for (int m = 1; m <= machines; ++m) routing.push_back(m);
  const Instance big =
      makeInstance(jobs, machines, std::vector<int>(jobs * machines, 1), routing, 5000);
  std::vector<float> genes;
  for (int o = 0; o < machines; ++o)
    for (int j = 1; j <= jobs; ++j) genes.push_back(static_cast<float>(j));
  const AnalysedFiles large = analyse(makePopulation({genes}, {1234}), big);
  EXPECT_GT(large.solutions.size(), 3000u);
  EXPECT_EQ(large.solutions.substr(large.solutions.size() - 14), " 39 40 1234 \n\n");
}

}  // namespace jobshop
