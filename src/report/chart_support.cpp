// What the charts share: round tick values for an axis, and the colours of jobs and of runs.
#include "report/chart_support.h"

#include <cmath>
#include <cstdio>
#include <iterator>

#include "report/markup.h"

namespace {

// Successive hues a golden angle apart never come close to each other for the first dozens.
constexpr double kGoldenAngle = 137.508;

std::string hslColour(double hue, double saturation, double lightness) {
  const double chroma = (1.0 - std::fabs(2.0 * lightness - 1.0)) * saturation;
  const double sector = std::fmod(hue, 360.0) / 60.0;
  const double second = chroma * (1.0 - std::fabs(std::fmod(sector, 2.0) - 1.0));
  double r = 0.0, g = 0.0, b = 0.0;
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
  if (std::fabs(value - std::round(value)) < 1e-9) return fixedNumber(std::round(value), 0);
  return fixedNumber(value, 2);
}

std::string jobColour(int job) {
  // Hand-picked for the first jobs, light enough for dark labels and unlike each other.
  static constexpr const char* kFirstColours[] = {"#5b9bd5", "#f4a261", "#7cc47f", "#e76f6f",
                                                  "#a98bd4", "#f2d060", "#4fc1b8", "#f3a6c8",
                                                  "#b88b6a", "#b0b7c3", "#c2d66b"};
  constexpr int kFirstCount = static_cast<int>(std::size(kFirstColours));
  if (job >= 1 && job <= kFirstCount) return kFirstColours[job - 1];
  const double hue = std::fmod((job - 1) * kGoldenAngle + 20.0, 360.0);
  const double lightness = 0.62 + 0.08 * ((job - 1) % 2);
  return hslColour(hue, 0.68, lightness);
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
