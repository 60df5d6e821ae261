// Labels placed so that none covers another: each keeps its wanted height when it is free there,
// and otherwise moves up or down by whole label heights to the nearest free place. Coordinates are
// the chart's own, y growing downwards.
#pragma once

#include <string>
#include <vector>

namespace jobshop {

struct LabelArea {
  double left = 0.0, top = 0.0, width = 0.0, height = 0.0;
};

// The room a text of this many characters takes at this font size: wide enough for any sans-serif
// face the page falls back on, so that areas kept apart here stay apart on screen.
LabelArea textArea(double left, double baseline, const std::string& text, double fontSize);

// The tops of wanted, placed in order, each clear of the areas kept and of those placed before it,
// and between top and bottom. A label with no free place within that band keeps its wanted top.
std::vector<double> placeLabels(const std::vector<LabelArea>& wanted,
                                const std::vector<LabelArea>& kept, double top, double bottom);

}  // namespace jobshop
