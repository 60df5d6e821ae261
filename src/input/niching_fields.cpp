// Reading and writing the niching settings through their table.
#include "input/niching_fields.h"

#include <charconv>
#include <cmath>

namespace jobshop {

namespace {

constexpr int kDefaultClearingCapacity = NichingSettings{}.clearingCapacity;
constexpr double kDefaultSharingAlpha = NichingSettings{}.sharingAlpha;

}  // namespace

const NichingField& nichingField(NichingSetting setting) {
  for (const NichingField& field : kNichingFields)
    if (field.setting == setting) return field;
  return kNichingFields[0];
}

std::vector<std::string> nichingMethodNames() {
  std::vector<std::string> names;
  names.reserve(kNichingMethodNames.size());
  for (const NichingMethodName& entry : kNichingMethodNames) names.emplace_back(entry.name);
  return names;
}

std::optional<double> givenValue(const NichingSettings& settings, NichingSetting setting) {
  switch (setting) {
    case NichingSetting::windowSize:
      return settings.windowSize;
    case NichingSetting::clearingRadius:
      return settings.clearingRadius;
    case NichingSetting::clearingCapacity:
      if (settings.clearingCapacity == kDefaultClearingCapacity) return std::nullopt;
      return settings.clearingCapacity;
    case NichingSetting::sharingRadius:
      return settings.sharingRadius;
    case NichingSetting::sharingAlpha:
      if (settings.sharingAlpha == kDefaultSharingAlpha) return std::nullopt;
      return settings.sharingAlpha;
  }
  return std::nullopt;
}

std::optional<double> heldValue(const NichingSettings& settings, NichingSetting setting) {
  if (setting == NichingSetting::clearingCapacity) return settings.clearingCapacity;
  if (setting == NichingSetting::sharingAlpha) return settings.sharingAlpha;
  return givenValue(settings, setting);
}

void setValue(NichingSettings& settings, NichingSetting setting, double value) {
  if (setting == NichingSetting::sharingAlpha) {
    settings.sharingAlpha = value;
    return;
  }
  // Only the whole-number settings are converted: alpha may lie far beyond the int range.
  const int whole = static_cast<int>(value);
  switch (setting) {
    case NichingSetting::windowSize:
      settings.windowSize = whole;
      break;
    case NichingSetting::clearingRadius:
      settings.clearingRadius = whole;
      break;
    case NichingSetting::clearingCapacity:
      settings.clearingCapacity = whole;
      break;
    case NichingSetting::sharingRadius:
      settings.sharingRadius = whole;
      break;
    case NichingSetting::sharingAlpha:
      break;
  }
}

void clearValue(NichingSettings& settings, NichingSetting setting) {
  const NichingSettings defaults;
  switch (setting) {
    case NichingSetting::windowSize:
      settings.windowSize = defaults.windowSize;
      break;
    case NichingSetting::clearingRadius:
      settings.clearingRadius = defaults.clearingRadius;
      break;
    case NichingSetting::clearingCapacity:
      settings.clearingCapacity = defaults.clearingCapacity;
      break;
    case NichingSetting::sharingRadius:
      settings.sharingRadius = defaults.sharingRadius;
      break;
    case NichingSetting::sharingAlpha:
      settings.sharingAlpha = defaults.sharingAlpha;
      break;
  }
}

double resolvedValue(const NichingSettings& settings, NichingSetting setting, int populationSize,
                     int geneCount) {
  switch (setting) {
    case NichingSetting::windowSize:
      return windowSizeFor(settings, populationSize);
    case NichingSetting::clearingRadius:
      return clearingRadiusFor(settings, geneCount);
    case NichingSetting::clearingCapacity:
      return settings.clearingCapacity;
    case NichingSetting::sharingRadius:
      return sharingRadiusFor(settings, geneCount);
    case NichingSetting::sharingAlpha:
      return settings.sharingAlpha;
  }
  return 0.0;
}

bool acceptsValue(const NichingField& field, double value) {
  if (field.whole) return value >= 1 && value <= 2147483647.0 && std::floor(value) == value;
  return std::isfinite(value) && value > 0;
}

NichingSettings ownSettingsOnly(NichingSettings settings) {
  for (const NichingField& field : kNichingFields)
    if (field.method != settings.method) clearValue(settings, field.setting);
  return settings;
}

bool sameNiching(const NichingSettings& a, const NichingSettings& b) {
  if (a.method != b.method) return false;
  for (const NichingField& field : kNichingFields)
    if (givenValue(a, field.setting) != givenValue(b, field.setting)) return false;
  return true;
}

std::string nichingValueText(double value) {
  char text[32];
  const auto [end, error] = std::to_chars(text, text + sizeof text, value);
  return error == std::errc() ? std::string(text, end) : std::string("nan");
}

std::vector<std::string> nichingArguments(const NichingSettings& settings) {
  if (settings.method == NichingMethod::crowding) return {};
  std::vector<std::string> args{"--niching", nichingMethodName(settings.method)};
  for (const NichingField& field : kNichingFields) {
    if (field.method != settings.method) continue;
    if (const std::optional<double> value = givenValue(settings, field.setting)) {
      args.emplace_back(field.option);
      args.push_back(nichingValueText(*value));
    }
  }
  return args;
}

bool windowFitsPopulation(const NichingSettings& settings, int populationSize) {
  return settings.method != NichingMethod::restrictedTournament || !settings.windowSize ||
         *settings.windowSize <= populationSize;
}

}  // namespace jobshop
