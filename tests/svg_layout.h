// Where a chart's pieces stand, read from its SVG: the drawing's area, the plot area between the
// axes and the boxes of its labels, so that a test states how they lie to one another (inside,
// apart) rather than repeating the chart's own constants.
#pragma once

#include <string>
#include <vector>

#include "xml_document.h"

namespace jobshop {

struct Box {
  double left = 0.0, top = 0.0, right = 0.0, bottom = 0.0;
};

bool inside(const Box& inner, const Box& outer);
bool overlap(const Box& a, const Box& b);
std::string describe(const Box& box);

// The first drawing's viewBox.
Box viewBox(XmlDocument& chart);

// The area between the y axis on the left and the x axis at the bottom, their lines drawn with
// class "axis".
Box plotArea(XmlDocument& chart);

struct Label {
  std::string text;
  Box box;
};

// The box the upright text at that XPath surely inks: its anchor's side of x, from the baseline up
// by the cap height. Widths are taken at half an em a character, below what any sans-serif face
// draws digits and most letters with, so that two boxes that meet here meet on screen too. A
// rotated text (an axis title) is left out of labels().
Box textBox(XmlDocument& chart, const std::string& text);
std::vector<Label> labels(XmlDocument& chart);

// Expects the chart to have labels, every one inside the drawing and no two overlapping; each
// failure names the texts and their boxes.
void expectLabelsInsideAndApart(XmlDocument& chart);

}  // namespace jobshop
