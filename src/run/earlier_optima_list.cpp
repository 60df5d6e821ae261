// Whether an earlier enumeration list survives a new count, and the words when it would not.
#include "run/earlier_optima_list.h"

#include <filesystem>

#include "support/text_files.h"

namespace jobshop {

namespace {

std::string schedules(std::int64_t count) {
  return std::to_string(count) + (count == 1 ? " schedule" : " schedules");
}

}  // namespace

std::optional<EnumeratedOptima> earlierNamedList(const std::string& folder) {
  // An unreadable summary names no list this count could leave unnamed.
  OptimaInFolder summary = loadOptimaSummary(folder);
  if (!summary) return std::nullopt;
  std::optional<EnumeratedOptima> earlier = std::move(*summary);
  if (!earlier || earlier->listFile.empty()) return std::nullopt;
  std::error_code ignored;
  if (!std::filesystem::exists(pathInFolder(folder, earlier->listFile), ignored))
    return std::nullopt;
  return earlier;
}

MaybeFailure earlierListMismatch(const EnumeratedOptima& earlier, const EnumeratedOptima& next,
                                 bool boundKnown, bool counted) {
  if (earlier.jobs != next.jobs || earlier.machines != next.machines) {
    return Failure{"the instance has " + std::to_string(next.jobs) + " jobs and " +
                   std::to_string(next.machines) + " machines, the list's " +
                   std::to_string(earlier.jobs) + " and " + std::to_string(earlier.machines)};
  }
  if (!earlier.instanceSha256.empty() && !next.instanceSha256.empty() &&
      earlier.instanceSha256 != next.instanceSha256) {
    return Failure{"D_Entrada.txt has changed since the list was written"};
  }
  if ((boundKnown || counted) && earlier.bound != next.bound) {
    return Failure{"the bound is " + std::to_string(next.bound) + ", the list's " +
                   std::to_string(earlier.bound)};
  }
  if (counted && earlier.count != next.count) {
    return Failure{"this count found " + schedules(next.count) + ", the list holds " +
                   std::to_string(earlier.count)};
  }
  return std::nullopt;
}

std::string earlierListRefusal(const EnumeratedOptima& earlier, const std::string& jsonPath,
                               const std::string& mismatch) {
  return jsonPath + " names the list " + earlier.listFile + " (" + schedules(earlier.count) +
         " of makespan <= " + std::to_string(earlier.bound) +
         "), which this count would leave unnamed (" + mismatch +
         "): give --list FILE to write a new list with it, or --force to replace " + jsonPath +
         " anyway";
}

}  // namespace jobshop
