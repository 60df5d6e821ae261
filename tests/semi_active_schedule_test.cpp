// Rebuilding schedules from machine sequences: exact start times, and sequences that are refused.
#include "analysis/semi_active_schedule.h"

#include <gtest/gtest.h>

#include "test_instances.h"

namespace jobshop {

namespace {

struct Timing {
  int machine, start, end;
};

// Start and end of each operation, job by job and in route order.
std::vector<Timing> timings(const SemiActiveSchedule& schedule) {
  std::vector<Timing> result;
  for (const ScheduledOperation& op : schedule.operations) {
    result.push_back({op.machine, op.start, op.end});
  }
  return result;
}

}  // namespace

TEST(SemiActiveSchedule, ExampleOptimumHasExactStartTimes) {
  // Machine orders 1 2, 1 2, 2 1: the example instance's only optimum, makespan 10.
  const SemiActiveSchedule schedule = rebuildSchedule(exampleInstance(), {1, 2, 1, 2, 2, 1});
  ASSERT_EQ(schedule.problem, "");
  EXPECT_EQ(schedule.makespan, 10);
  const std::vector<Timing> got = timings(schedule);
  const std::vector<Timing> want = {
      {1, 0, 3}, {2, 3, 5}, {3, 5, 9},   // job 1: machines 1, 2, 3
      {3, 0, 1}, {1, 3, 5}, {2, 5, 10},  // job 2: machines 3, 1, 2
  };
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t k = 0; k < want.size(); ++k) {
    EXPECT_EQ(got[k].machine, want[k].machine) << k;
    EXPECT_EQ(got[k].start, want[k].start) << k;
    EXPECT_EQ(got[k].end, want[k].end) << k;
  }
  EXPECT_EQ(schedule.operations[4].job, 2);
  EXPECT_EQ(schedule.operations[4].operation, 2);
}

TEST(SemiActiveSchedule, OtherOrdersOfTheExample) {
  // Every machine order of the example that is a schedule, with the makespan it gives; the
  // others wait on each other in a cycle.
  struct Case {
    std::vector<int> sequences;
    int makespan;  // 0: a cycle
  };
  const Case cases[] = {
      {{1, 2, 1, 2, 1, 2}, 17}, {{1, 2, 2, 1, 2, 1}, 16}, {{2, 1, 1, 2, 2, 1}, 13},
      {{2, 1, 2, 1, 2, 1}, 14}, {{1, 2, 2, 1, 1, 2}, 0},  {{2, 1, 1, 2, 1, 2}, 0},
      {{2, 1, 2, 1, 1, 2}, 0},
  };
  for (const Case& c : cases) {
    const SemiActiveSchedule schedule = rebuildSchedule(exampleInstance(), c.sequences);
    if (c.makespan == 0) {
      EXPECT_NE(schedule.problem.find("cycle"), std::string::npos) << schedule.problem;
      EXPECT_TRUE(schedule.operations.empty());
    } else {
      EXPECT_EQ(schedule.problem, "");
      EXPECT_EQ(schedule.makespan, c.makespan);
    }
  }
}

TEST(SemiActiveSchedule, SequencesThatAreNoScheduleOfTheInstance) {
  const Instance instance = exampleInstance();
  EXPECT_NE(rebuildSchedule(instance, {1, 2, 1, 2, 2}).problem, "");
  EXPECT_NE(rebuildSchedule(instance, {1, 1, 1, 2, 2, 1}).problem.find("twice"), std::string::npos);
  EXPECT_NE(rebuildSchedule(instance, {1, 3, 1, 2, 2, 1}).problem.find("job 3"), std::string::npos);
  EXPECT_NE(rebuildSchedule(instance, {0, 2, 1, 2, 2, 1}).problem, "");
  Instance broken = instance;
  broken.routing = {1, 2, 2, 3, 1, 2};
  EXPECT_NE(rebuildSchedule(broken, {1, 2, 1, 2, 2, 1}).problem.find("route"), std::string::npos);
}

TEST(SemiActiveSchedule, WaitsForTheMachineEvenWhenTheJobIsReady) {
  // One machine: the jobs run back to back in the recorded order, not by job number.
  const Instance single = makeInstance(3, 1, {4, 1, 2}, {1, 1, 1});
  const SemiActiveSchedule schedule = rebuildSchedule(single, {3, 1, 2});
  ASSERT_EQ(schedule.problem, "");
  EXPECT_EQ(schedule.operations[2].start, 0);  // job 3 first
  EXPECT_EQ(schedule.operations[0].start, 2);
  EXPECT_EQ(schedule.operations[1].start, 6);
  EXPECT_EQ(schedule.makespan, 7);
}

}  // namespace jobshop
