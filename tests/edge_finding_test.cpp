// Edge finding on hand-made machines where the pair rule alone finds less: the brute-force
// comparison sees a rule that cuts too much, these see one that stops cutting.
#include "exact/edge_finding.h"

#include <gtest/gtest.h>

namespace jobshop {

namespace {

MachineOps machine(std::initializer_list<std::array<int, 3>> ops) {  // head, time, tail
  MachineOps m;
  for (const auto& [head, duration, tail] : ops) {
    const auto k = static_cast<std::size_t>(m.count++);
    m.head[k] = head;
    m.duration[k] = duration;
    m.tail[k] = tail;
  }
  return m;
}

}  // namespace

TEST(EdgeFinding, AnOperationAfterASetThatCannotTakeItInside) {
  // Two 2-long operations must end by 4; the 3-long one fits after both only: its head rises to
  // their joint end 4, where each pair alone would give 2.
  MachineOps m = machine({{0, 2, 5}, {0, 2, 5}, {0, 3, 0}});
  bool raised = false;
  ASSERT_TRUE(edgeFindHeads(m.duration, m.head, m.tail, m.count, 9, raised));
  EXPECT_TRUE(raised);
  EXPECT_EQ(m.head[0], 0);
  EXPECT_EQ(m.head[1], 0);
  EXPECT_EQ(m.head[2], 4);
  raised = false;
  ASSERT_TRUE(edgeFindHeads(m.duration, m.head, m.tail, m.count, 9, raised));
  EXPECT_FALSE(raised) << "nothing more follows";
  // The same with the set released after the 3-long one.
  MachineOps later = machine({{1, 2, 4}, {1, 2, 4}, {0, 3, 0}});
  ASSERT_TRUE(edgeFindHeads(later.duration, later.head, later.tail, later.count, 9, raised));
  EXPECT_EQ(later.head[2], 5);
  // By 12 the 3-long one also fits first: nothing moves.
  raised = false;
  MachineOps loose = machine({{0, 2, 5}, {0, 2, 5}, {0, 3, 0}});
  ASSERT_TRUE(edgeFindHeads(loose.duration, loose.head, loose.tail, loose.count, 12, raised));
  EXPECT_FALSE(raised);
}

TEST(EdgeFinding, TailsByTheMirrorRule) {
  // The mirror of the case above: two operations released at 5 and the 3-long one before both,
  // so its tail is at least their 4 units of work.
  MachineOps m = machine({{5, 2, 0}, {5, 2, 0}, {0, 3, 0}});
  bool raised = false;
  ASSERT_TRUE(edgeFindHeads(m.duration, m.tail, m.head, m.count, 9, raised));
  EXPECT_EQ(m.tail[2], 4);
  EXPECT_EQ(m.tail[0], 0);
}

TEST(EdgeFinding, ASetThatCannotFitFailsWhereEveryPairFits) {
  // Each pair of these fits by 9 (2 + 2 + tail 5), all three do not.
  MachineOps m = machine({{0, 2, 5}, {0, 2, 5}, {0, 2, 5}});
  bool raised = false;
  EXPECT_FALSE(edgeFindHeads(m.duration, m.head, m.tail, m.count, 9, raised));
  EXPECT_TRUE(edgeFindHeads(m.duration, m.head, m.tail, m.count, 11, raised));
  // A set released late: the two at 3 cannot both end by 6.
  MachineOps late = machine({{0, 1, 0}, {3, 2, 3}, {3, 2, 3}});
  EXPECT_FALSE(edgeFindHeads(late.duration, late.head, late.tail, late.count, 9, raised));
}

}  // namespace jobshop
