// The distinct schedules of all runs as comma-separated values, one row each.
#include "report/schedules_csv.h"

#include <charconv>
#include <vector>

#include "support/csv_row.h"

namespace jobshop {

namespace {

// Always quoted, so that a reader sees one field holding a list even when it holds one number.
std::string quotedList(const std::vector<int>& numbers) {
  std::string text = "\"";
  for (std::size_t k = 0; k < numbers.size(); ++k) {
    if (k > 0) text += ' ';
    text += std::to_string(numbers[k]);
  }
  return text + '"';
}

std::string inEnumerationField(const std::optional<OptimaCoverage>& coverage,
                               const SharedOptimum& optimum) {
  if (!coverage || !coverage->listed) return {};
  return csvBoolean(enumerationStatus(*coverage, optimum.sequences, optimum.makespan) ==
                    EnumerationStatus::kListed);
}

}  // namespace

std::string roundTripNumber(double value) {
  char text[32];
  const std::to_chars_result written = std::to_chars(std::begin(text), std::end(text), value);
  return std::string(text, written.ptr);
}

std::string schedulesCsv(const OptimumUnion& optima, const std::optional<OptimaCoverage>& coverage,
                         const NicheMap& map) {
  std::string csv =
      csvRow({"id", "makespan", "sequences", "runs", "inEnumeration", "mapX", "mapY"});
  for (std::size_t k = 0; k < optima.schedules.size(); ++k) {
    const SharedOptimum& optimum = optima.schedules[k];
    const MapPoint* point = k < map.found.size() && map.found[k] ? &*map.found[k] : nullptr;
    csv += std::to_string(k + 1) + ',' + std::to_string(optimum.makespan) + ',' +
           quotedList(optimum.sequences) + ',' + quotedList(optimum.runs) + ',' +
           csvRow({inEnumerationField(coverage, optimum),
                   point ? roundTripNumber(point->x) : std::string(),
                   point ? roundTripNumber(point->y) : std::string()});
  }
  return csv;
}

}  // namespace jobshop
