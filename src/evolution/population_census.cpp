// Counting distinct schedules by hashing each row once and comparing whole rows only where hashes
// agree.
#include "evolution/population_census.h"

#include <algorithm>
#include <cstring>

#include "evolution/target_reach.h"

namespace jobshop {

namespace {

bool sameRow(const std::uint8_t* a, const std::uint8_t* b, int stride) {
  return std::memcmp(a, b, static_cast<std::size_t>(stride)) == 0;
}

// Adds the row to the schedules found unless it is already there.
void noteFound(FoundSchedules& found, const std::uint8_t* row, std::uint64_t hash) {
  const auto [first, last] = found.byHash.equal_range(hash);
  for (auto it = first; it != last; ++it) {
    const std::size_t at = static_cast<std::size_t>(it->second) * found.stride;
    if (sameRow(found.rows.data() + at, row, found.stride)) return;
  }
  const int index = static_cast<int>(found.rows.size() / static_cast<std::size_t>(found.stride));
  found.rows.insert(found.rows.end(), row, row + found.stride);
  found.byHash.emplace(hash, index);
}

// Whether individual keyed[k].second repeats an earlier one of its run of equal hashes, which
// starts at `group`.
bool seenInGroup(const std::vector<std::pair<std::uint64_t, int>>& keyed, std::size_t group,
                 std::size_t k, const SequenceTable& sequences) {
  for (std::size_t earlier = group; earlier < k; ++earlier)
    if (sameRow(sequences.row(keyed[earlier].second), sequences.row(keyed[k].second),
                sequences.stride))
      return true;
  return false;
}

float bestFitness(const Population& population) {
  float best = population.fitness(0);
  for (int k = 1; k < population.size; ++k) best = std::min(best, population.fitness(k));
  return best;
}

}  // namespace

std::uint64_t sequenceRowHash(const std::uint8_t* row, int stride) {
  std::uint64_t hash = 0x243F6A8885A308D3ull;
  for (int at = 0; at + 8 <= stride; at += 8) {
    std::uint64_t word;
    std::memcpy(&word, row + at, sizeof word);
    hash = (hash ^ word) * 0x9E3779B97F4A7C15ull;
    hash ^= hash >> 29;
  }
  return hash;
}

void startCensus(PopulationCensus& census, const SequenceTable& sequences) {
  census.found.stride = sequences.stride;
  census.found.rows.clear();
  census.found.byHash.clear();
}

GenerationTrace takeCensus(PopulationCensus& census, const RunState& state, int generation) {
  const SequenceTable& sequences = state.populationSequences;
  const Population& population = state.population;
  GenerationTrace row;
  row.generation = generation;
  row.evaluations = state.evaluationCount;
  row.best = bestFitness(population);

  // Equal rows sort next to each other; the index breaks ties so the first of a schedule in
  // population order is the one whose makespan counts.
  census.keyed.clear();
  for (int k = 0; k < population.size; ++k)
    census.keyed.emplace_back(sequenceRowHash(sequences.row(k), sequences.stride), k);
  std::sort(census.keyed.begin(), census.keyed.end());
  std::size_t group = 0;
  for (std::size_t k = 0; k < census.keyed.size(); ++k) {
    if (census.keyed[k].first != census.keyed[group].first) group = k;
    if (seenInGroup(census.keyed, group, k, sequences)) continue;
    ++row.distinct;
    const int individual = census.keyed[k].second;
    if (!reachesTarget(population.fitness(individual), state.instance)) continue;
    ++row.held;
    noteFound(census.found, sequences.row(individual), census.keyed[k].first);
  }
  row.found = static_cast<int>(census.found.byHash.size());
  return row;
}

}  // namespace jobshop
