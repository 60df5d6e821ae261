// The likely meaning of a mistyped name: the edit distance on worked examples, and which slips
// are answered with a suggestion and which strangers are not.
#include "support/nearest_name.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace jobshop {

TEST(EditDistance, CountsInsertionsDeletionsReplacementsAndSwaps) {
  EXPECT_EQ(editDistance("", ""), 0u);
  EXPECT_EQ(editDistance("", "abc"), 3u);
  EXPECT_EQ(editDistance("jobs", "job"), 1u);
  EXPECT_EQ(editDistance("job", "jobs"), 1u);
  EXPECT_EQ(editDistance("dir", "dor"), 1u);
  EXPECT_EQ(editDistance("tagret", "target"), 1u) << "two neighbours swapped are one edit";
  EXPECT_EQ(editDistance("Seed", "sEED"), 0u) << "letters compared without regard to case";
  // The textbook pair: k->s, e->i, one g added.
  EXPECT_EQ(editDistance("kitten", "sitting"), 3u);
  // "ca" to "abc" is 3 when each character is edited at most once (it would be 2 if the swapped
  // pair could then take an insertion between its letters): the known difference between this
  // measure and the unrestricted one.
  EXPECT_EQ(editDistance("ca", "abc"), 3u);
}

TEST(NearestName, SlipsFindTheirNameAndStrangersFindNone) {
  const std::vector<std::string> options{"--help",   "-h",     "--jobs", "--dir",  "--force",
                                         "--target", "--time", "--task", "--tasks"};
  EXPECT_EQ(nearestName("--job", options), "--jobs");
  EXPECT_EQ(nearestName("--dri", options), "--dir");
  EXPECT_EQ(nearestName("--froce", options), "--force");
  EXPECT_EQ(nearestName("--tagret", options), "--target");
  EXPECT_EQ(nearestName("-jobs", options), "--jobs") << "dashes are not counted";
  EXPECT_EQ(nearestName("--tas", options), "--task") << "the first of the nearest";
  EXPECT_EQ(nearestName("--bogus", options), std::nullopt);
  EXPECT_EQ(nearestName("-x", options), std::nullopt) << "one slip from a short name is a stranger";
  EXPECT_EQ(nearestName("--jobs", options), std::nullopt) << "a valid name needs no suggestion";
  EXPECT_EQ(nearestName("", options), std::nullopt);
}

TEST(NearestName, ParameterKeysByDistanceOrByTheirBeginning) {
  const std::vector<std::string> keys{"populationSize",
                                      "swapMutationEnabled",
                                      "neighbourSwapMutationEnabled",
                                      "segmentWrapCrossoverEnabled",
                                      "segmentFillCrossoverEnabled",
                                      "crowdingGroups",
                                      "crowdingGroupSize"};
  EXPECT_EQ(nearestName("populatonSize", keys), "populationSize");
  EXPECT_EQ(nearestName("swapmutationenabled", keys), "swapMutationEnabled");
  EXPECT_EQ(nearestName("crowdingGroupsize", keys), "crowdingGroupSize");
  EXPECT_EQ(nearestName("crowdingGroup", keys), "crowdingGroups") << "one letter off, not a start";
  // A key written without its "Enabled" is too many edits away, but begins only one key.
  EXPECT_EQ(nearestName("swapMutation", keys), "swapMutationEnabled");
  EXPECT_EQ(nearestName("segment", keys), std::nullopt) << "it begins two keys";
  EXPECT_EQ(nearestName("po", keys), std::nullopt) << "too short to mean one key";
  EXPECT_EQ(nearestName("mutationRate", keys), std::nullopt);
}

}  // namespace jobshop
