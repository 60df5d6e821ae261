// The one description of the niching methods' own settings: the name the campaign file, the
// record and the manifest give each, its command-line option, its label in campaign setting
// names, and the method it belongs to. Everything that handles every setting alike (the options,
// the record, campaign grids, manifests, the launch of an execution) goes through it.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "input/niching_settings.h"

namespace jobshop {

enum class NichingSetting {
  windowSize,
  clearingRadius,
  clearingCapacity,
  sharingRadius,
  sharingAlpha
};

struct NichingField {
  NichingSetting setting;
  const char* name;       // as the campaign file, the record and the manifest spell it
  const char* option;     // the main run's option
  const char* valueName;  // the value as the help names it
  const char* label;      // the short label of campaign setting names
  NichingMethod method;   // the only method it applies to
  bool whole;             // a whole number from 1; otherwise a finite number above 0
};

inline constexpr std::array<NichingField, 5> kNichingFields{{
    {NichingSetting::windowSize, "windowSize", "--window-size", "N", "W",
     NichingMethod::restrictedTournament, true},
    {NichingSetting::clearingRadius, "clearingRadius", "--clearing-radius", "D", "CR",
     NichingMethod::clearing, true},
    {NichingSetting::clearingCapacity, "clearingCapacity", "--clearing-capacity", "K", "CK",
     NichingMethod::clearing, true},
    {NichingSetting::sharingRadius, "sharingRadius", "--sharing-radius", "D", "SR",
     NichingMethod::sharing, true},
    {NichingSetting::sharingAlpha, "sharingAlpha", "--sharing-alpha", "A", "SA",
     NichingMethod::sharing, false},
}};

const NichingField& nichingField(NichingSetting setting);

// Every method's name, in the order of kNichingMethodNames.
std::vector<std::string> nichingMethodNames();

// The value as set, or nothing when it is left to its default.
std::optional<double> givenValue(const NichingSettings& settings, NichingSetting setting);
// The value held, default or not; nothing only where a default is left to the run to resolve.
std::optional<double> heldValue(const NichingSettings& settings, NichingSetting setting);
void setValue(NichingSettings& settings, NichingSetting setting, double value);
void clearValue(NichingSettings& settings, NichingSetting setting);

// The value a run uses: the given one, or the default for a population of populationSize and
// schedules of geneCount cells.
double resolvedValue(const NichingSettings& settings, NichingSetting setting, int populationSize,
                     int geneCount);

// Whether the setting can take value (whole from 1, or finite above 0); the wording is the
// caller's, in its own language.
bool acceptsValue(const NichingField& field, double value);

// The settings with every value that does not belong to their method back to its default.
NichingSettings ownSettingsOnly(NichingSettings settings);

// The same method and the same given values.
bool sameNiching(const NichingSettings& a, const NichingSettings& b);

// The shortest text that reads back as value ("2", "0.5").
std::string nichingValueText(double value);

// The main run's options that choose these settings: none for crowding, otherwise --niching and
// each given value of the method's own settings, in table order.
std::vector<std::string> nichingArguments(const NichingSettings& settings);

// The restricted tournament's window cannot hold more members than the population has.
bool windowFitsPopulation(const NichingSettings& settings, int populationSize);

}  // namespace jobshop
