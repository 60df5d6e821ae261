// Which niching method an execution runs and that method's own settings. Chosen on the command
// line (or by a campaign), never in "D_Algoritmo.txt", whose fields stay those of multi-niche
// crowding. Settings left unset take defaults that depend on the population or the instance.
#pragma once

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

namespace jobshop {

enum class NichingMethod {
  crowding,               // multi-niche crowding, the default
  deterministicCrowding,  // pairs of parents against their nearer child
  restrictedTournament,   // each child against the nearest of a random window
  clearing,               // the best of each niche keeps its place, the rest are cleared
  sharing,                // fitness divided by the crowd within a radius
  none,                   // no niching: tournament selection, generational replacement
};

struct NichingMethodName {
  NichingMethod method;
  const char* name;  // as the option, the campaign file and the record spell it
};

inline constexpr std::array<NichingMethodName, 6> kNichingMethodNames{{
    {NichingMethod::crowding, "crowding"},
    {NichingMethod::deterministicCrowding, "deterministic-crowding"},
    {NichingMethod::restrictedTournament, "restricted-tournament"},
    {NichingMethod::clearing, "clearing"},
    {NichingMethod::sharing, "sharing"},
    {NichingMethod::none, "none"},
}};

inline const char* nichingMethodName(NichingMethod method) {
  for (const NichingMethodName& entry : kNichingMethodNames)
    if (entry.method == method) return entry.name;
  return "crowding";
}

inline std::optional<NichingMethod> nichingMethodNamed(std::string_view name) {
  for (const NichingMethodName& entry : kNichingMethodNames)
    if (name == entry.name) return entry.method;
  return std::nullopt;
}

struct NichingSettings {
  NichingMethod method = NichingMethod::crowding;
  std::optional<int> windowSize;      // restricted-tournament: members drawn per child
  std::optional<int> clearingRadius;  // clearing: a schedule closer than this joins the niche
  int clearingCapacity = 1;           // clearing: winners kept per niche
  std::optional<int> sharingRadius;   // sharing: sigma, the distance where sharing ends
  double sharingAlpha = 1.0;          // sharing: the shape of the sharing function
};

// The window of restricted tournaments: min(N, 20) unless set.
inline int windowSizeFor(const NichingSettings& settings, int populationSize) {
  return settings.windowSize.value_or(std::min(populationSize, 20));
}

// A tenth of the largest distance two schedules can have (the L cells of their machine
// sequences), rounded to nearest and at least 1; the default of both radii.
inline int tenthOfLargestDistance(int geneCount) { return std::max(1, (geneCount + 5) / 10); }

inline int clearingRadiusFor(const NichingSettings& settings, int geneCount) {
  return settings.clearingRadius.value_or(tenthOfLargestDistance(geneCount));
}

inline int sharingRadiusFor(const NichingSettings& settings, int geneCount) {
  return settings.sharingRadius.value_or(tenthOfLargestDistance(geneCount));
}

}  // namespace jobshop
