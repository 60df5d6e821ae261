// Shared test fixtures: instances, populations and temporary files.
#include "test_instances.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace jobshop {

Instance makeInstance(int jobs, int machines, std::vector<int> times, std::vector<int> routing,
                      int target) {
  Instance instance;
  instance.jobs = jobs;
  instance.machines = machines;
  instance.targetMakespan = target;
  instance.times = std::move(times);
  instance.routing = std::move(routing);
  return instance;
}

Instance twoByTwoInstance() { return makeInstance(2, 2, {3, 2, 2, 4}, {1, 2, 2, 1}); }

Instance exampleInstance() {
  return makeInstance(2, 3, {3, 2, 4, 2, 5, 1}, {1, 2, 3, 3, 1, 2}, 10);
}

Population makePopulation(const std::vector<std::vector<float>>& chromosomes,
                          const std::vector<float>& fitnesses) {
  Population population(static_cast<int>(chromosomes.size()),
                        static_cast<int>(chromosomes.front().size()));
  for (int k = 0; k < population.size; ++k) {
    const auto& genes = chromosomes[static_cast<std::size_t>(k)];
    std::copy(genes.begin(), genes.end(), population.genes(k));
    if (static_cast<std::size_t>(k) < fitnesses.size())
      population.fitness(k) = fitnesses[static_cast<std::size_t>(k)];
  }
  return population;
}

void decodeSequences(RunState& state) {
  SequenceScratch scratch;
  decodePopulationSequences(state.population, state.instance, state.populationSequences, scratch);
  decodePopulationSequences(state.matingPool, state.instance, state.matingPoolSequences, scratch);
  decodePopulationSequences(state.offspring, state.instance, state.offspringSequences, scratch);
}

std::vector<float> genesOf(const Population& population, int k) {
  return std::vector<float>(population.genes(k), population.genes(k) + population.geneCount);
}

namespace {

// The folders makeTempFolder made in this test process.
std::vector<std::string>& madeFolders() {
  static std::vector<std::string> folders;
  return folders;
}

// Removes them when the tests of the process end, unless one failed: its files are then left for
// a look.
class TempFolderRemoval : public ::testing::Environment {
 public:
  void TearDown() override {
    if (!::testing::UnitTest::GetInstance()->Passed()) return;
    for (const std::string& folder : madeFolders()) {
      std::error_code ignored;
      std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ignored);
      std::filesystem::remove_all(folder, ignored);
    }
  }
};

[[maybe_unused]] const ::testing::Environment* const kTempFolderRemoval =
    ::testing::AddGlobalTestEnvironment(new TempFolderRemoval);

}  // namespace

std::string makeTempFolder() {
  std::string pattern = "/tmp/jobshop-test-XXXXXX";
  const char* made = mkdtemp(pattern.data());
  if (made == nullptr) return "/tmp/";
  madeFolders().push_back(made);
  return std::string(made) + "/";
}

void writeFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool fileExists(const std::string& path) { return std::ifstream(path).good(); }

}  // namespace jobshop
