// Machine sequences and the cell-count distance.
#include "model/machine_sequences.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <utility>

#include "model/row_kernels.h"
#include "model/sequence_table.h"
#include "test_instances.h"

namespace jobshop {

namespace {

std::vector<float> sequencesOf(std::vector<float> genes, const Instance& instance) {
  SequenceScratch scratch;
  std::vector<float> out(genes.size(), -1.0f);
  decodeMachineSequences(genes.data(), instance, out.data(), scratch);
  return out;
}

int distance(std::vector<float> a, std::vector<float> b, const Instance& instance) {
  SequenceScratch scratch;
  return scheduleDistance(a.data(), b.data(), instance, scratch);
}

}  // namespace

TEST(MachineSequences, WorkedExamples) {
  const Instance instance = twoByTwoInstance();
  EXPECT_EQ(sequencesOf({1, 2, 2, 1}, instance), (std::vector<float>{1, 2, 2, 1}));
  EXPECT_EQ(sequencesOf({2, 1, 1, 2}, instance), (std::vector<float>{1, 2, 2, 1}));
  EXPECT_EQ(sequencesOf({1, 1, 2, 2}, instance), (std::vector<float>{1, 2, 1, 2}));
  EXPECT_EQ(sequencesOf({2, 2, 1, 1}, instance), (std::vector<float>{2, 1, 2, 1}));
  EXPECT_EQ(sequencesOf({1, 2, 1, 2, 1, 2}, exampleInstance()),
            (std::vector<float>{1, 2, 1, 2, 2, 1}));
}

TEST(ScheduleDistance, CountsDifferingCells) {
  const Instance instance = twoByTwoInstance();
  EXPECT_EQ(distance({1, 2, 2, 1}, {2, 1, 1, 2}, instance), 0) << "different genes, same schedule";
  EXPECT_EQ(distance({1, 1, 2, 2}, {2, 2, 1, 1}, instance), 4);
  EXPECT_EQ(distance({1, 1, 2, 2}, {1, 1, 2, 2}, instance), 0);
  // Exchanging two adjacent jobs on one machine counts two cells.
  const Instance oneMachine = makeInstance(3, 1, {1, 1, 1}, {1, 1, 1});
  EXPECT_EQ(distance({1, 2, 3}, {2, 1, 3}, oneMachine), 2);
  EXPECT_EQ(distance({1, 2, 3}, {3, 1, 2}, oneMachine), 3) << "with M = 1 the gene strings";
  const Instance oneJob = makeInstance(1, 3, {1, 1, 1}, {2, 3, 1});
  EXPECT_EQ(distance({1, 1, 1}, {1, 1, 1}, oneJob), 0);
}

TEST(ScheduleDistance, SymmetricNeverOneOnRandomChromosomes) {
  const Instance instance =
      makeInstance(4, 3, std::vector<int>(12, 1), {1, 2, 3, 3, 2, 1, 2, 1, 3, 1, 3, 2});
  std::mt19937 generator(3);
  std::vector<float> base{1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4};
  for (int trial = 0; trial < 200; ++trial) {
    std::vector<float> a = base, b = base;
    std::shuffle(a.begin(), a.end(), generator);
    std::shuffle(b.begin(), b.end(), generator);
    const int d = distance(a, b, instance);
    EXPECT_EQ(d, distance(b, a, instance));
    EXPECT_NE(d, 1);
    EXPECT_GE(d, 0);
    EXPECT_LE(d, 12);
  }
}

TEST(SequenceDistance, CachedRowsGiveTheLiteralDistance) {
  // Uneven sizes exercise the padding; 255 jobs still fit one byte per cell, 256 and 300 do not;
  // 20 x 500 and 300 x 30 are long enough that the per-lane counts have to be flushed.
  std::mt19937 generator(11);
  for (const auto& [jobs, machines] : std::vector<std::pair<int, int>>{
           {3, 2}, {7, 5}, {255, 2}, {256, 2}, {300, 3}, {20, 500}, {300, 30}}) {
    std::vector<int> routing;
    std::vector<int> row(static_cast<std::size_t>(machines));
    for (int j = 0; j < jobs; ++j) {
      std::iota(row.begin(), row.end(), 1);
      std::shuffle(row.begin(), row.end(), generator);
      routing.insert(routing.end(), row.begin(), row.end());
    }
    const Instance instance =
        makeInstance(jobs, machines, std::vector<int>(routing.size(), 1), routing);
    std::vector<float> base;
    for (int j = 1; j <= jobs; ++j)
      base.insert(base.end(), static_cast<std::size_t>(machines), static_cast<float>(j));
    SequenceScratch scratch;
    SequenceTable decoded;
    decoded.resize(2, instance.geneCount(), jobs);
    EXPECT_EQ(decoded.cellBytes, jobs <= 255 ? 1 : 2);
    for (int trial = 0; trial < 100; ++trial) {
      std::vector<float> a = base, b = base;
      std::shuffle(a.begin(), a.end(), generator);
      std::shuffle(b.begin(), b.end(), generator);
      if (trial % 3 == 0) b = a;
      if (trial % 3 == 1) std::swap(b[0], b[b.size() - 1]);
      decodeSequenceRow(a.data(), instance, decoded.cellBytes, decoded.row(0), scratch);
      decodeSequenceRow(b.data(), instance, decoded.cellBytes, decoded.row(1), scratch);
      const int literal = scheduleDistance(a.data(), b.data(), instance, scratch);
      EXPECT_EQ(rowDistance(decoded, 0, decoded, 1), literal);
      // The padded rows of a table, compared in one batch, give the same.
      const Population pair = makePopulation({a, b});
      SequenceTable table;
      decodePopulationSequences(pair, instance, table, scratch);
      const int rows[] = {1, 0};
      int distances[2];
      rowDistances(table.row(0), table, rows, 2, distances);
      EXPECT_EQ(distances[0], literal);
      EXPECT_EQ(distances[1], 0);
      // And so does every vector unit this machine has, down to the generic loop.
      using detail::VectorUnit;
      for (VectorUnit unit : {VectorUnit::generic, VectorUnit::avx2, VectorUnit::avx512}) {
        if (unit > detail::widestVectorUnit()) continue;
        detail::rowDistancesUsing(unit, table.row(0), table, rows, 2, distances);
        EXPECT_EQ(distances[0], literal) << static_cast<int>(unit);
        EXPECT_EQ(distances[1], 0) << static_cast<int>(unit);
        EXPECT_EQ(detail::rowDistanceUsing(unit, decoded.row(0), decoded.row(1), decoded.stride,
                                           decoded.cellBytes),
                  literal)
            << static_cast<int>(unit);
      }
    }
  }
}

}  // namespace jobshop
