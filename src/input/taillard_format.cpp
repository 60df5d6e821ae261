// Parsing the Taillard format: captions, the header with its upper bound, and the two blocks.
#include "input/taillard_format.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "input/import_checks.h"
#include "input/refusal.h"
#include "support/printable_text.h"

namespace jobshop {

namespace {

// Reads one Taillard block of jobs lines of machines numbers each, starting after its keyword.
std::vector<std::vector<int>> readTaillardBlock(const SourceText& source, size_t& next,
                                                const Shape& shape, const std::string& name,
                                                const std::string& what) {
  std::vector<std::vector<int>> block;
  for (int job = 1; job <= shape.jobs; ++job) {
    if (next >= source.lines.size() || isBlockKeyword(source.lines[next])) {
      int where = next < source.lines.size() ? source.lines[next].number : source.lastLineNumber;
      refuseAt(source, where,
               "the \"" + name + "\" block ends after " + std::to_string(job - 1) + " of " +
                   std::to_string(shape.jobs) + " jobs");
    }
    const TextLine& line = source.lines[next++];
    std::vector<int> values = parseNumbers(source, line);
    size_t expected = static_cast<size_t>(shape.machines);
    if (values.size() != expected) {
      refuseAt(source, line.number,
               countMismatch(job, values.size(), expected, std::to_string(expected) + " " + what));
    }
    block.push_back(std::move(values));
  }
  return block;
}

void expectKeyword(const SourceText& source, size_t& next, const std::string& name) {
  if (next >= source.lines.size()) {
    refuseAt(source, source.lastLineNumber, "missing \"" + name + "\" block");
  }
  if (!isKeyword(source.lines[next], name)) {
    refuseAt(
        source, source.lines[next].number,
        "expected the line \"" + name + "\", found " + quoted(source.lines[next].tokens.front()));
  }
  ++next;
}

bool isCaption(const TextLine& line) {
  return std::isalpha(static_cast<unsigned char>(line.tokens.front().front())) != 0 &&
         !isBlockKeyword(line);
}

// The header's upper bound, its fifth number after J, M and the two seeds, when it has one.
std::optional<int> headerUpperBound(const SourceText& source, const TextLine& headerLine) {
  constexpr size_t kUpperBoundField = 4;
  if (headerLine.tokens.size() <= kUpperBoundField) return std::nullopt;
  const int bound = parseNumber(source, headerLine.number, headerLine.tokens[kUpperBoundField]);
  if (bound < 0) {
    refuseAt(source, headerLine.number,
             "the upper bound " + std::to_string(bound) + " in the header is negative");
  }
  return bound;
}

}  // namespace

ImportedInstance parseTaillard(const SourceText& source) {
  size_t next = 0;
  // Published files put a caption such as "Nb of jobs, Nb of Machines, ..." above the header.
  while (next < source.lines.size() && isCaption(source.lines[next])) ++next;
  if (next >= source.lines.size() || isBlockKeyword(source.lines[next])) {
    int where = next < source.lines.size() ? source.lines[next].number : source.lastLineNumber;
    refuseAt(source, where, "expected a header line with the number of jobs and machines");
  }
  const TextLine& headerLine = source.lines[next++];
  if (headerLine.tokens.size() < 2) {
    refuseAt(source, headerLine.number,
             "expected at least 2 numbers (jobs and machines), found " +
                 std::to_string(headerLine.tokens.size()));
  }
  int jobs = parseNumber(source, headerLine.number, headerLine.tokens[0]);
  int machines = parseNumber(source, headerLine.number, headerLine.tokens[1]);
  // Of the numbers after J and M only the upper bound is used, but all must still be numbers.
  for (size_t k = 2; k < headerLine.tokens.size(); ++k) {
    if (!hasNumberSyntax(headerLine.tokens[k])) {
      refuseAt(source, headerLine.number, quoted(headerLine.tokens[k]) + " is not a whole number");
    }
  }
  const std::optional<int> upperBound = headerUpperBound(source, headerLine);
  Shape shape = checkShape(source, headerLine.number, jobs, machines);

  expectKeyword(source, next, "Times");
  size_t timesStart = next;
  std::vector<std::vector<int>> times =
      readTaillardBlock(source, next, shape, "Times", "processing times");
  std::int64_t total = 0;
  for (size_t j = 0; j < times.size(); ++j) {
    checkTimes(source, source.lines[timesStart + j].number, static_cast<int>(j + 1), times[j],
               total);
  }
  expectKeyword(source, next, "Machines");
  size_t machinesStart = next;
  std::vector<std::vector<int>> machineNumbers =
      readTaillardBlock(source, next, shape, "Machines", "machine numbers");
  std::vector<JobRow> rows;
  for (size_t j = 0; j < times.size(); ++j) {
    std::vector<int> machinesOfJob =
        checkMachines(source, source.lines[machinesStart + j].number, static_cast<int>(j + 1),
                      machineNumbers[j], shape.machines, 1);
    rows.push_back(JobRow{std::move(machinesOfJob), std::move(times[j])});
  }
  if (next < source.lines.size()) {
    refuseAt(source, source.lines[next].number, "unexpected line after the \"Machines\" block");
  }
  return ImportedInstance{buildInstance(shape, rows), upperBound};
}

bool isTaillard(const SourceText& source) {
  return std::any_of(source.lines.begin(), source.lines.end(), isBlockKeyword);
}

}  // namespace jobshop
