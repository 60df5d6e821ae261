// What the charts share: round tick values for an axis, and the colours of jobs and of runs.
#include "report/chart_support.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "report/markup.h"
#include "support/number_format.h"

namespace jobshop {

namespace {

// Successive hues a golden angle apart never come close to each other for the first dozens.
constexpr double kGoldenAngle = 137.508;

std::string hslColour(double hue, double saturation, double lightness) {
  const double chroma = (1.0 - std::fabs(2.0 * lightness - 1.0)) * saturation;
  const double sector = std::fmod(hue, 360.0) / 60.0;
  const double second = chroma * (1.0 - std::fabs(std::fmod(sector, 2.0) - 1.0));
  double r = 0.0;
  double g = 0.0;
  double b = 0.0;
  switch (static_cast<int>(sector)) {
    case 0:
      r = chroma;
      g = second;
      break;
    case 1:
      r = second;
      g = chroma;
      break;
    case 2:
      g = chroma;
      b = second;
      break;
    case 3:
      g = second;
      b = chroma;
      break;
    case 4:
      r = second;
      b = chroma;
      break;
    default:
      r = chroma;
      b = second;
  }
  const double base = lightness - chroma / 2.0;
  auto channel = [base](double value) {
    return static_cast<unsigned>(std::lround((value + base) * 255.0));
  };
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", channel(r), channel(g), channel(b));
  return text;
}

}  // namespace

std::vector<double> niceTicks(double low, double high, int maxTicks) {
  std::vector<double> ticks;
  if (high < low || maxTicks < 1) return ticks;
  const double span = high > low ? high - low : 1.0;
  const double rough = span / maxTicks;
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  double step = power;
  for (double factor : {1.0, 2.0, 5.0, 10.0}) {
    step = factor * power;
    if (span / step <= maxTicks) break;
  }
  for (double tick = std::ceil(low / step) * step; tick <= high + step * 1e-9; tick += step) {
    ticks.push_back(std::fabs(tick) < step * 1e-9 ? 0.0 : tick);
  }
  return ticks;
}

std::string tickLabel(double value) {
  if (std::fabs(value - std::round(value)) < 1e-9)
    return groupedNumber(static_cast<std::int64_t>(std::llround(value)));
  return fixedNumber(value, 2);
}

double textWidth(const std::string& text, double fontSize) {
  std::size_t characters = 0;
  for (const char byte : text)
    if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80) ++characters;  // not a continuation
  return static_cast<double>(characters) * kCharacterAdvance * fontSize;
}

std::string jobColour(int job) {
  // Twenty colours picked as Glasbey et al. describe ("Colour displays for categorical images",
  // Color Research and Application 32(4), 2007): each next colour is the one of a 16-level sRGB
  // grid farthest in CIELAB from all taken so far, starting from white, black and the idle lanes'
  // grey, among colours of lightness 25 to 88 and chroma at most 80 (no glaring neon, nothing near
  // the lanes). No two are closer than 36 apart in CIELAB (CIE76), where Kelly's list, used before,
  // put jobs 1, 13 and 15 (yellows) within 18 and two purples within 15. In pick order, so that the
  // first few jobs are the most unlike; beyond twenty they repeat, and every bar then carries its
  // job's number.
  static constexpr const char* kColours[] = {"#3366ee", "#dd2233", "#229900", "#ffbb22", "#cc1199",
                                             "#008877", "#665500", "#886688", "#00bbff", "#00eeaa",
                                             "#ee9977", "#ccdd88", "#ffaaff", "#772222", "#44eeee",
                                             "#662288", "#dd6600", "#005511", "#ee6688", "#004488"};
  constexpr int kCount = static_cast<int>(std::size(kColours));
  return kColours[((job - 1) % kCount + kCount) % kCount];
}

bool isDarkColour(const std::string& colour) {
  if (colour.size() != 7 || colour[0] != '#') return false;
  const unsigned long value = std::strtoul(colour.c_str() + 1, nullptr, 16);
  const double red = static_cast<double>((value >> 16) & 0xff);
  const double green = static_cast<double>((value >> 8) & 0xff);
  const double blue = static_cast<double>(value & 0xff);
  // Perceived lightness: green counts most, blue least.
  return 0.299 * red + 0.587 * green + 0.114 * blue < 140.0;
}

std::string seriesColour(int index) {
  static constexpr const char* kFirstColours[] = {"#1c64b4", "#e8590c", "#2f9e44", "#c92a2a",
                                                  "#7048e8", "#0c8599", "#c2255c", "#8d5524",
                                                  "#74b816", "#495057", "#f59f00", "#364fc7"};
  constexpr int kFirstCount = static_cast<int>(std::size(kFirstColours));
  if (index >= 0 && index < kFirstCount) return kFirstColours[index];
  const double hue = std::fmod(index * kGoldenAngle + 210.0, 360.0);
  return hslColour(hue, 0.72, 0.42);
}

}  // namespace jobshop
