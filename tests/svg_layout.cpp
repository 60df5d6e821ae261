#include "svg_layout.h"

#include <gtest/gtest.h>

#include <sstream>

namespace jobshop {

namespace {

// The charts' text is at most 13 px and at least 11 px; the smaller size keeps the boxes within
// what is drawn.
constexpr double kFontSize = 11.0;
constexpr double kCapHeight = 0.7 * kFontSize;
constexpr double kCharacterWidth = 0.5 * kFontSize;

std::size_t characters(const std::string& utf8) {
  std::size_t count = 0;
  for (const char byte : utf8)
    if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80) ++count;
  return count;
}

double attribute(XmlDocument& chart, const std::string& element, const char* name) {
  return chart.number(element + "/@" + name);
}

}  // namespace

bool inside(const Box& inner, const Box& outer) {
  return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
         inner.bottom <= outer.bottom;
}

bool overlap(const Box& a, const Box& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

std::string describe(const Box& box) {
  std::ostringstream text;
  text << "[" << box.left << ", " << box.right << "] x [" << box.top << ", " << box.bottom << "]";
  return text.str();
}

Box viewBox(XmlDocument& chart) {
  std::istringstream corners(chart.value("string((//svg)[1]/@viewBox)"));
  double x = 0.0, y = 0.0, width = 0.0, height = 0.0;
  corners >> x >> y >> width >> height;
  return {x, y, x + width, y + height};
}

Box plotArea(XmlDocument& chart) {
  // The x axis is the last horizontal axis line drawn, the y axis the last upright one.
  const std::string xAxis = "(//line[@class=\"axis\"][@y1=@y2])[last()]";
  const std::string yAxis = "(//line[@class=\"axis\"][@x1=@x2])[last()]";
  return {attribute(chart, xAxis, "x1"), attribute(chart, yAxis, "y1"),
          attribute(chart, xAxis, "x2"), attribute(chart, xAxis, "y1")};
}

Box textBox(XmlDocument& chart, const std::string& text) {
  const double x = attribute(chart, text, "x"), y = attribute(chart, text, "y");
  const double width =
      kCharacterWidth * static_cast<double>(characters(chart.value("string(" + text + ")")));
  const std::string anchor = chart.value("string(" + text + "/@text-anchor)");
  const double left = anchor == "end" ? x - width : anchor == "middle" ? x - width / 2.0 : x;
  return {left, y - kCapHeight, left + width, y};
}

std::vector<Label> labels(XmlDocument& chart) {
  std::vector<Label> found;
  const int texts = chart.count("//text");
  for (int k = 1; k <= texts; ++k) {
    const std::string text = "(//text)[" + std::to_string(k) + "]";
    if (chart.count(text + "[@transform]") == 1) continue;
    found.push_back({chart.value("string(" + text + ")"), textBox(chart, text)});
  }
  return found;
}

void expectLabelsInsideAndApart(XmlDocument& chart) {
  const Box drawing = viewBox(chart);
  const std::vector<Label> found = labels(chart);
  ASSERT_FALSE(found.empty());
  for (std::size_t i = 0; i < found.size(); ++i) {
    EXPECT_TRUE(inside(found[i].box, drawing))
        << '"' << found[i].text << "\" at " << describe(found[i].box) << " leaves "
        << describe(drawing);
    for (std::size_t j = i + 1; j < found.size(); ++j)
      EXPECT_FALSE(overlap(found[i].box, found[j].box))
          << '"' << found[i].text << "\" at " << describe(found[i].box) << " overlaps \""
          << found[j].text << "\" at " << describe(found[j].box);
  }
}

}  // namespace jobshop
