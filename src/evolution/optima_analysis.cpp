// Counting the distinct optima of a run, their average distance, and writing the four records.
#include "evolution/optima_analysis.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace jobshop {

namespace {

// Number of leading individuals whose makespan equals the best one.
int countOptima(const Population& population) {
  const float best = population.fitness(0);
  int count = 1;
  while (count < population.size && !(population.fitness(count) > best)) ++count;
  return count;
}

std::string solutionLine(const float* sequences, int geneCount, float makespan) {
  std::string line;
  char number[16];
  for (int c = 0; c < geneCount; ++c) {
    std::snprintf(number, sizeof number, "%d ", truncateToInt(sequences[c]));
    line += number;
  }
  std::snprintf(number, sizeof number, "%d ", truncateToInt(makespan));
  return line + number;
}

// One makespan as the files show it, with one decimal.
std::string makespanLine(float makespan) {
  char text[48];
  std::snprintf(text, sizeof text, "%.1f\n", static_cast<double>(makespan));
  return text;
}

}  // namespace

int analyseOptima(const Population& population, const Instance& instance, RunRecords& records,
                  SequenceScratch& scratch) {
  const float best = population.fitness(0);
  // Compared as doubles, which hold both the int target and the float makespan exactly.
  if (static_cast<double>(instance.targetMakespan) < static_cast<double>(best)) {
    records.text[kOptimaFile] += makespanLine(best);
    return 0;
  }
  const int geneCount = instance.geneCount();
  const int optimumCount = countOptima(population);
  const std::size_t stride = static_cast<std::size_t>(geneCount);
  std::vector<float> optimumSequences(static_cast<std::size_t>(optimumCount) * stride);
  for (int k = 0; k < optimumCount; ++k)
    decodeMachineSequences(population.genes(k), instance, optimumSequences.data() + k * stride,
                           scratch);

  // An optimum is distinct when it differs from every earlier distinct one; the first of each
  // schedule is the one kept. Sums are 64-bit: many distinct optima of a large instance
  // overflow 32.
  std::vector<char> distinctFlags(static_cast<std::size_t>(optimumCount), 0);
  distinctFlags[0] = 1;
  std::int64_t distinctCount = 1;
  std::int64_t totalDistance = 0;
  for (int j = 1; j < optimumCount; ++j) {
    std::int64_t sum = 0;
    bool distinct = true;
    for (int p = 0; p < j && distinct; ++p) {
      if (!distinctFlags[static_cast<std::size_t>(p)]) continue;
      const int d = scheduleDistance(population.genes(p), population.genes(j), instance, scratch);
      sum += d;
      distinct = d != 0;
    }
    if (!distinct) continue;
    distinctFlags[static_cast<std::size_t>(j)] = 1;
    ++distinctCount;
    totalDistance += sum;
  }
  if (distinctCount > 1) {
    const float averageDistance =
        static_cast<float>(static_cast<double>(2 * totalDistance) /
                           static_cast<double>(distinctCount * (distinctCount - 1)));
    char line[48];
    std::snprintf(line, sizeof line, "%.2f\n", static_cast<double>(averageDistance));
    records.text[kDistanceFile] += line;
  }
  records.text[kOptimaFile] += makespanLine(best);
  records.text[kOptimumCountFile] += std::to_string(distinctCount) + "\n";
  std::string& solutions = records.text[kSolutionFile];
  for (int k = 0; k < optimumCount; ++k) {
    if (!distinctFlags[static_cast<std::size_t>(k)]) continue;
    solutions +=
        solutionLine(optimumSequences.data() + k * stride, geneCount, population.fitness(k));
    solutions += "\n";
  }
  solutions += "\n";
  return static_cast<int>(distinctCount);
}

}  // namespace jobshop
