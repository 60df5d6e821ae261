#include "report/label_placement.h"

#include <cstddef>

namespace jobshop {

namespace {

// An average sans-serif character is about 0.55 em wide; bold digits and capitals reach 0.65.
constexpr double kCharacterWidth = 0.65;
// Above the baseline for capitals, below it for descenders.
constexpr double kAscent = 0.95;
constexpr double kDescent = 0.25;
// Apart by at least this much, so that neighbours do not touch.
constexpr double kGap = 1.0;

bool overlaps(const LabelArea& a, const LabelArea& b) {
  return a.left < b.left + b.width + kGap && b.left < a.left + a.width + kGap &&
         a.top < b.top + b.height + kGap && b.top < a.top + a.height + kGap;
}

bool isFree(const LabelArea& area, const std::vector<LabelArea>& taken) {
  for (const LabelArea& other : taken) {
    if (overlaps(area, other)) return false;
  }
  return true;
}

// Tries the wanted place, then one step up, one down, two up, and so on while either stays within
// the band.
double freeTop(LabelArea area, const std::vector<LabelArea>& taken, double top, double bottom) {
  const double wanted = area.top;
  if (area.height <= 0.0) return wanted;
  const double step = area.height + kGap;
  for (int k = 0;; ++k) {
    bool within = false;
    for (const double sign : {-1.0, 1.0}) {
      if (k == 0 && sign > 0) continue;
      area.top = wanted + sign * k * step;
      if (area.top < top || area.top + area.height > bottom) continue;
      within = true;
      if (isFree(area, taken)) return area.top;
    }
    if (!within && k > 0) return wanted;
  }
}

}  // namespace

LabelArea textArea(double left, double baseline, const std::string& text, double fontSize) {
  return {left, baseline - kAscent * fontSize,
          kCharacterWidth * fontSize * static_cast<double>(text.size()),
          (kAscent + kDescent) * fontSize};
}

std::vector<double> placeLabels(const std::vector<LabelArea>& wanted,
                                const std::vector<LabelArea>& kept, double top, double bottom) {
  std::vector<LabelArea> taken = kept;
  std::vector<double> tops;
  tops.reserve(wanted.size());
  for (LabelArea area : wanted) {
    area.top = freeTop(area, taken, top, bottom);
    tops.push_back(area.top);
    taken.push_back(area);
  }
  return tops;
}

}  // namespace jobshop
