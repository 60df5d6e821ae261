// Labels placed apart: crowded ones stacked clear of each other and of what is kept, free ones left
// where they were wanted, and a band with no room left ending the search rather than looping.
#include "report/label_placement.h"

#include <gtest/gtest.h>

namespace jobshop {

namespace {

bool meet(const LabelArea& a, const LabelArea& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

LabelArea at(LabelArea area, double top) {
  area.top = top;
  return area;
}

}  // namespace

TEST(LabelPlacement, CrowdedLabelsAreStackedApartAndClearOfWhatIsKept) {
  // Four counts wanted at one spot, over a target label that reaches under them.
  const LabelArea count{100.0, 50.0, 40.0, 12.0};
  const std::vector<LabelArea> wanted(4, count);
  const LabelArea target{120.0, 48.0, 60.0, 14.0};
  const std::vector<double> tops = placeLabels(wanted, {target}, 0.0, 200.0);
  ASSERT_EQ(tops.size(), wanted.size());
  for (std::size_t i = 0; i < tops.size(); ++i) {
    const LabelArea placed = at(wanted[i], tops[i]);
    EXPECT_GE(placed.top, 0.0);
    EXPECT_LE(placed.top + placed.height, 200.0);
    EXPECT_FALSE(meet(placed, target)) << "label " << i << " at " << tops[i];
    for (std::size_t j = i + 1; j < tops.size(); ++j)
      EXPECT_FALSE(meet(placed, at(wanted[j], tops[j]))) << i << " and " << j;
  }
}

TEST(LabelPlacement, FreeLabelsKeepTheirPlace) {
  const std::vector<LabelArea> apart{
      {10.0, 10.0, 30.0, 12.0}, {10.0, 40.0, 30.0, 12.0}, {200.0, 10.0, 30.0, 12.0}};
  EXPECT_EQ(placeLabels(apart, {}, 0.0, 100.0), (std::vector<double>{10.0, 40.0, 10.0}));
  EXPECT_TRUE(placeLabels({}, apart, 0.0, 100.0).empty());
}

TEST(LabelPlacement, WithNoRoomLeftALabelKeepsItsWantedPlace) {
  // A band one label high holds the first; the second has nowhere to go and stays put.
  const std::vector<LabelArea> two(2, LabelArea{0.0, 0.0, 30.0, 12.0});
  EXPECT_EQ(placeLabels(two, {}, 0.0, 12.0), (std::vector<double>{0.0, 0.0}));
  // A label of no height cannot be stepped anywhere.
  const std::vector<LabelArea> flat(2, LabelArea{0.0, 5.0, 30.0, 0.0});
  EXPECT_EQ(placeLabels(flat, {}, 0.0, 12.0), (std::vector<double>{5.0, 5.0}));
}

TEST(LabelPlacement, TextAreasGrowWithTheTextAndTheFont) {
  const LabelArea short11 = textArea(10.0, 50.0, "2 runs", 11.0);
  const LabelArea long11 = textArea(10.0, 50.0, "12 runs", 11.0);
  const LabelArea short13 = textArea(10.0, 50.0, "2 runs", 13.0);
  EXPECT_LT(short11.width, long11.width);
  EXPECT_LT(short11.width, short13.width);
  EXPECT_LT(short11.height, short13.height);
  // The baseline lies inside the area: capitals above it, descenders below.
  EXPECT_LT(short11.top, 50.0);
  EXPECT_GT(short11.top + short11.height, 50.0);
  EXPECT_EQ(short11.left, 10.0);
}

}  // namespace jobshop
