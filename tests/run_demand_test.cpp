// Executions that no machine could finish are refused before they start, by the main run and by
// a campaign plan alike; the limits a process runs under are read as the system states them; and a
// campaign file nested or listed past its bounds is refused before it is parsed or expanded.
#include "model/run_demand.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "campaign_test_support.h"
#include "campaigns/toml_nesting.h"
#include "input/parameters.h"
#include "program_runner.h"
#include "support/memory_limits.h"
#include "test_instances.h"

namespace jobshop {

namespace {

Parameters crowdingParameters(int population, int evaluations, int mateCandidates) {
  Parameters parameters;
  parameters.populationSize = population;
  parameters.maxEvaluations = evaluations;
  parameters.mateCandidates = mateCandidates;
  return parameters;
}

std::string parameterFile(int population, int evaluations, int mateCandidates) {
  const int values[19] = {population, evaluations,    1, 80, 20, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0,
                          0,          mateCandidates, 1, 1};
  std::string text;
  for (int value : values) text += "etiqueta\n" + std::to_string(value) + "\n";
  return text;
}

// J jobs on J machines, every time 1, job j visiting the machines from j on, cyclically.
std::string squareInstance(int size) {
  std::string text = std::to_string(size) + "\n" + std::to_string(size) + "\n1\n";
  for (int job = 0; job < size; ++job)
    for (int machine = 0; machine < size; ++machine)
      text += std::string("1") + (machine + 1 < size ? " " : "\n");
  for (int job = 0; job < size; ++job)
    for (int k = 0; k < size; ++k)
      text += std::to_string((job + k) % size + 1) + (k + 1 < size ? " " : "\n");
  return text;
}

const char* const kExampleInstance = "2\n3\n10\n3 2 4\n2 5 1\n1 2 3\n3 1 2\n";

}  // namespace

TEST(MemoryLimits, TheLeastKnownLimitHolds) {
  EXPECT_EQ(usableMemory({}), std::nullopt);
  EXPECT_EQ(usableMemory({std::nullopt, 3000, 8000}), std::int64_t{3000});
  EXPECT_EQ(usableMemory({2000, 3000, 8000}), std::int64_t{2000});
  EXPECT_EQ(usableMemory({std::nullopt, std::nullopt, 8000}), std::int64_t{8000});
  const std::optional<std::int64_t> here = usableMemory(currentMemoryLimits());
  ASSERT_TRUE(here.has_value()) << "a Linux machine states its memory";
  EXPECT_GT(*here, 0);
}

TEST(RunDemand, PopulationsAndMateSelectionCountedByHand) {
  // 2 × 3: L = 6 genes of (6 + 1) floats and a sequence row of 6 one-byte cells padded to 32:
  // 3 populations × 10 individuals × (7 × 4 + 32) = 1,800 bytes.
  EXPECT_EQ(populationBytes(exampleInstance(), crowdingParameters(10, 0, 3)), 1800);
  // 10 individuals, 1,010 evaluations: at least (1010 - 10) / 10 = 100 generations, each of
  // 5 first parents × 3 candidates × 6 genes = 90 comparisons: 9,000.
  EXPECT_DOUBLE_EQ(mateComparisons(exampleInstance(), crowdingParameters(10, 1010, 3)), 9000);
  // Within one generation's budget there is still that one generation: 5 × 3 × 6 = 90.
  EXPECT_DOUBLE_EQ(mateComparisons(exampleInstance(), crowdingParameters(10, 15, 3)), 90);
  EXPECT_DOUBLE_EQ(mateComparisons(exampleInstance(), crowdingParameters(10, 10, 3)), 0)
      << "the initial population spends the whole budget";
  Parameters other = crowdingParameters(10, 1010, 2147483647);
  other.niching.method = NichingMethod::deterministicCrowding;
  EXPECT_DOUBLE_EQ(mateComparisons(exampleInstance(), other), 0) << "draws no candidate mates";
}

TEST(RunDemand, WhatCouldNotFinishIsTold) {
  const Instance instance = exampleInstance();
  EXPECT_EQ(runDemandExcess(instance, crowdingParameters(10, 1010, 3), 1800), std::nullopt);
  const auto memory = runDemandExcess(instance, crowdingParameters(10, 1010, 3), 1799);
  ASSERT_TRUE(memory.has_value());
  EXPECT_EQ(memory->kind, RunDemandExcess::Kind::kMemory);
  EXPECT_EQ(memory->needed, 1800);
  EXPECT_EQ(runDemandExcess(instance, crowdingParameters(10, 1010, 3), std::nullopt), std::nullopt)
      << "unknown memory is not held against the run";
  const auto work =
      runDemandExcess(instance, crowdingParameters(100, 1000000, 2147483647), 1 << 30);
  ASSERT_TRUE(work.has_value());
  EXPECT_EQ(work->kind, RunDemandExcess::Kind::kMateSelection);
}

TEST(RunDemand, TheMainRunRefusesBeforeWritingAnything) {
  const std::string folder = makeTempFolder();
  writeFile(folder + "D_Entrada.txt", kExampleInstance);
  // 9,999 generations of 50 × 2,147,483,647 candidates over 6 genes: 6.4e15 comparisons.
  writeFile(folder + "D_Algoritmo.txt", parameterFile(100, 1000000, 2147483647));
  const Captured work = runProgramIn(folder, "--seed 1");
  EXPECT_EQ(work.status, 1);
  EXPECT_EQ(work.out, "");
  EXPECT_EQ(work.err,
            "mateCandidates 2147483647 pide al menos 6.4e+15 comparaciones de genes en la "
            "selección de parejas de cada ejecución (N/2 × mateCandidates × L por generación), "
            "más de las 1.0e+14 de un día de cálculo; ninguna ejecución terminaría\n");
  EXPECT_FALSE(fileExists(folder + "D_Sal_Mejores.txt"));
  EXPECT_FALSE(fileExists(folder + "executions.jsonl"));

  // 2,147,483,646 individuals of a 100 × 100 instance need 3 × (10,001 × 4 + 10,016) bytes each,
  // 300 TiB in all: more than any machine these tests run on.
  writeFile(folder + "D_Entrada.txt", squareInstance(100));
  writeFile(folder + "D_Algoritmo.txt", parameterFile(2147483646, 1000000, 3));
  const Captured memory = runProgramIn(folder, "--seed 1");
  EXPECT_EQ(memory.status, 1);
  EXPECT_EQ(memory.err.rfind("No hay memoria suficiente para las poblaciones (2147483646 "
                             "individuos de 10000 genes): necesitan 307322879 MiB y este proceso "
                             "puede usar ",
                             0),
            0u)
      << memory.err;
  EXPECT_FALSE(fileExists(folder + "executions.jsonl"));
}

TEST(RunDemand, ACampaignPlanRefusesWhatNoExecutionCouldRun) {
  const std::string refusal = planningRefusal(
      "[instances]\na = \"D_Entrada.txt\"\n[parameters]\npopulationSize = [100, 2147483646]\n");
  EXPECT_EQ(refusal.rfind("campaign.toml:2: expected settings that can run, found setting "
                          "N2147483646 on instance a: populations of 2147483646 need ",
                          0),
            0u)
      << refusal;
}

TEST(CampaignNesting, DeepKeysAreRefusedBeforeParsing) {
  std::string deep = "[instances]\na = \"D_Entrada.txt\"\n[parameters]\nx";
  for (int level = 0; level < 200000; ++level) deep += ".x";
  deep += " = 1\n";
  EXPECT_EQ(readingRefusal(deep),
            "campaign.toml:4: expected at most 64 levels of dotted keys, tables and arrays, found "
            "more");
  std::string arrays = "[instances]\na = \"D_Entrada.txt\"\n[parameters]\npopulationSize = ";
  arrays += std::string(100000, '[');
  EXPECT_EQ(readingRefusal(arrays),
            "campaign.toml:4: expected at most 64 levels of dotted keys, tables and arrays, found "
            "more");
}

TEST(CampaignNesting, WhatOnlyLooksDeepIsNotCounted) {
  std::string floats = "a = [";
  for (int k = 0; k < 500; ++k) floats += std::to_string(k) + ".5, ";
  floats += "1e3]\n";
  EXPECT_EQ(firstTooDeepLine(floats, 64), std::nullopt) << "a float's point is not a key's";
  EXPECT_EQ(firstTooDeepLine("when = 1979-05-27T07:32:00.999-07:00\n", 1), std::nullopt);
  const std::string dots(200, '.');
  const std::string brackets(200, '[');
  EXPECT_EQ(firstTooDeepLine("name = \"" + dots + brackets + "\"\n", 64), std::nullopt);
  EXPECT_EQ(firstTooDeepLine("name = '" + dots + "' # " + brackets + "\n", 64), std::nullopt);
  EXPECT_EQ(firstTooDeepLine("x = \"\"\"\n" + dots + "\n" + brackets + "\"\"\"\n", 64),
            std::nullopt);
  EXPECT_EQ(firstTooDeepLine("x = \"\\\"" + brackets + "\"\n", 64), std::nullopt)
      << "an escaped quote does not end the string";
  // Closed brackets no longer count; numeric key parts still do.
  EXPECT_EQ(firstTooDeepLine("[[a]]\n[[a]]\n[[a]]\nb = 1\n", 2), std::nullopt);
  EXPECT_EQ(firstTooDeepLine("a = 1\n1.2.3.4 = 5\n", 2), std::size_t{2});
}

TEST(CampaignAxes, ALongAxisIsRefusedAtItsLimitWithoutQuadraticWork) {
  // Half a million distinct values are checked for repeats at once, and the plan refused by its
  // size; a repeat is still found at the end of a long list.
  std::string list = "[";
  for (int k = 1; k <= 500001; ++k) list += std::to_string(k * 2) + ",";
  const std::string head = "[instances]\na = \"D_Entrada.txt\"\nb = \"x\"\n[parameters]\n";
  EXPECT_EQ(readingRefusal(head + "populationSize = " + list + "]\n"),
            "campaign.toml:5: expected at most 1000000 executions, found 1000002 (2 instances × "
            "500001 settings × 1 repetition)");
  EXPECT_EQ(readingRefusal(head + "populationSize = " + list + "2]\n"),
            "campaign.toml:5: expected distinct values for populationSize, found 2 twice");
  std::string alphas = "[";
  for (int k = 1; k <= 500001; ++k) alphas += std::to_string(k) + ".5,";
  EXPECT_EQ(readingRefusal(head + "niching = \"sharing\"\nsharingAlpha = " + alphas + "1.5]\n"),
            "campaign.toml:6: expected distinct values for sharingAlpha, found 1.5 twice");
}

}  // namespace jobshop
