// Parsing the standard format, job line by job line.
#include "input/standard_format.h"

#include <optional>

#include "input/import_checks.h"

namespace jobshop {

ImportedInstance parseStandard(const SourceText& source) {
  const std::vector<TextLine>& lines = source.lines;
  if (lines.empty()) {
    refuseAt(source, source.lastLineNumber,
             "no instance: expected a line with the number of jobs and machines");
  }
  std::vector<int> header = parseNumbers(source, lines[0]);
  if (header.size() != 2) {
    refuseAt(source, lines[0].number,
             "expected 2 numbers (jobs and machines), found " + std::to_string(header.size()));
  }
  Shape shape = checkShape(source, lines[0].number, header[0], header[1]);
  size_t expected = 2 * static_cast<size_t>(shape.machines);
  std::string pairs = std::to_string(shape.machines) + " pairs \"machine time\" (" +
                      std::to_string(expected) + " numbers)";
  std::vector<JobRow> rows;
  std::int64_t total = 0;
  for (int job = 1; job <= shape.jobs; ++job) {
    if (static_cast<size_t>(job) >= lines.size()) {
      refuseAt(source, source.lastLineNumber,
               "the file ends after " + std::to_string(job - 1) + " of " +
                   std::to_string(shape.jobs) + " jobs");
    }
    const TextLine& line = lines[static_cast<size_t>(job)];
    std::vector<int> values = parseNumbers(source, line);
    if (values.size() != expected) {
      refuseAt(source, line.number, countMismatch(job, values.size(), expected, pairs));
    }
    JobRow row;
    std::vector<int> fileMachines;
    for (size_t k = 0; k < values.size(); k += 2) {
      fileMachines.push_back(values[k]);
      row.times.push_back(values[k + 1]);
    }
    row.machines = checkMachines(source, line.number, job, fileMachines, shape.machines, 0);
    checkTimes(source, line.number, job, row.times, total);
    rows.push_back(std::move(row));
  }
  if (lines.size() > static_cast<size_t>(shape.jobs) + 1) {
    refuseAt(source, lines[static_cast<size_t>(shape.jobs) + 1].number,
             "unexpected line after the last of " + std::to_string(shape.jobs) + " jobs");
  }
  return ImportedInstance{buildInstance(shape, rows), std::nullopt};
}

}  // namespace jobshop
