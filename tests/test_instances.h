// Tiny hand-built instances and populations shared by the tests.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "input/instance.h"
#include "model/population.h"
#include "model/run_state.h"

namespace jobshop {

Instance makeInstance(int jobs, int machines, std::vector<int> times, std::vector<int> routing,
                      int target = 0);

// J = 2, M = 2, times [[3, 2], [2, 4]], routing [[1, 2], [2, 1]].
Instance twoByTwoInstance();
// J = 2, M = 3, target 10, times [[3, 2, 4], [2, 5, 1]], routing [[1, 2, 3], [3, 1, 2]].
Instance exampleInstance();

// A population whose individual k holds chromosomes[k] and fitness fitnesses[k] (0 if absent).
Population makePopulation(const std::vector<std::vector<float>>& chromosomes,
                          const std::vector<float>& fitnesses = {});

// Decodes the three populations of state into their sequence tables, after a test has set them.
void decodeSequences(RunState& state);

std::vector<float> genesOf(const Population& population, int k);

// A fresh empty temporary folder, ending in '/'.
std::string makeTempFolder();
void writeFile(const std::string& path, const std::string& text);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);

}  // namespace jobshop
