// Reading a count's checkpoint back: a text that is not one is refused with the reason the resumed
// count then shows, each fault by its own words, and a checkpoint reads back from its own text.
#include "results/count_checkpoint.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace jobshop {

namespace {

const std::string kHead =
    R"({"instanceSha256":"ab","jobs":6,"machines":6,"bound":60,"subtrees":4,)";

}  // namespace

TEST(CountCheckpoint, EachRefusedTextSaysWhatIsWrongWithIt) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"{", "not a JSON object"},
      {"[]", "not a JSON object"},
      {R"({"instanceSha256":"ab","jobs":6,"machines":6,"subtrees":4,"done":[]})",
       "no whole number \"bound\" from 0 to 1000000000"},
      {R"({"jobs":6,"machines":6,"bound":60,"subtrees":4,"done":[]})",
       "no \"instanceSha256\" or no \"done\""},
      {kHead + R"("done":{}})", "\"done\" is not a list"},
      {kHead + R"("done":[[0]]})", "an entry of \"done\" is not [subtree, \"count\"]"},
      {kHead + R"("done":[[0,"12x"]]})", "the count of subtree 0 is not a whole number"},
      {kHead + R"("done":[[1,"1"],[1,"2"]]})", "subtree 1 is out of range or given twice"},
      {kHead + R"("done":[[4,"1"]]})", "subtree 4 is out of range or given twice"},
  };
  for (const auto& [text, reason] : cases) {
    const OrFailure<CountCheckpoint> read = parseCountCheckpoint(text);
    ASSERT_FALSE(read) << text;
    EXPECT_EQ(read.reason(), reason) << text;
  }
}

TEST(CountCheckpoint, ReadsBackFromItsOwnText) {
  const OrFailure<CountCheckpoint> read =
      parseCountCheckpoint(kHead + R"("done":[[3,"126453"],[0,"0"]]})");
  ASSERT_TRUE(read) << read.reason();
  EXPECT_EQ(read->bound, 60);
  EXPECT_EQ(read->done, (std::vector<std::pair<int, std::string>>{{3, "126453"}, {0, "0"}}));
  const OrFailure<CountCheckpoint> again = parseCountCheckpoint(countCheckpointJson(*read));
  ASSERT_TRUE(again) << again.reason();
  EXPECT_EQ(again->done, read->done);
  EXPECT_EQ(again->instanceSha256, "ab");
}

}  // namespace jobshop
