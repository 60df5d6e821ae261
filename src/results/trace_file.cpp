// Writing and reading "D_Sal_Traza.txt".
#include "results/trace_file.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <string_view>
#include <utility>

#include "support/printable_text.h"

namespace jobshop {

namespace {

std::string rowLine(int run, const GenerationTrace& row) {
  char line[160];
  // The best makespan with one decimal, as "D_Sal_Mejores.txt" writes it.
  std::snprintf(line, sizeof line, "%d\t%d\t%lld\t%.1f\t%d\t%d\t%d\n", run, row.generation,
                static_cast<long long>(row.evaluations), static_cast<double>(row.best),
                row.distinct, row.held, row.found);
  return line;
}

template <class Number>
bool parseCount(std::string_view field, Number& value) {
  if (field.empty() || field[0] == '-' || field[0] == '+') return false;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  return error == std::errc() && end == field.data() + field.size();
}

// Digits with an optional fraction, as "%.1f" writes a makespan; bounded like the other files'.
bool parseMakespan(std::string_view field, float& value) {
  std::size_t p = 0;
  while (p < field.size() && field[p] >= '0' && field[p] <= '9') ++p;
  if (p == 0) return false;
  if (p < field.size() && field[p] == '.') {
    const std::size_t fraction = ++p;
    while (p < field.size() && field[p] >= '0' && field[p] <= '9') ++p;
    if (p == fraction) return false;
  }
  if (p != field.size()) return false;
  double number = 0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), number);
  if (error != std::errc() || end != field.data() + field.size() || number > 1e9) return false;
  value = static_cast<float>(number);
  return true;
}

std::vector<std::string_view> tabFields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

struct ParsedRow {
  int run = 0;
  GenerationTrace row;
};

std::optional<ParsedRow> parseRow(std::string_view line) {
  const std::vector<std::string_view> fields = tabFields(line);
  if (fields.size() != 7) return std::nullopt;
  ParsedRow parsed;
  GenerationTrace& row = parsed.row;
  const bool numbers = parseCount(fields[0], parsed.run) && parseCount(fields[1], row.generation) &&
                       parseCount(fields[2], row.evaluations) &&
                       parseMakespan(fields[3], row.best) && parseCount(fields[4], row.distinct) &&
                       parseCount(fields[5], row.held) && parseCount(fields[6], row.found);
  if (!numbers || parsed.run < 1) return std::nullopt;
  return parsed;
}

// What is wrong with row as the next of block, or "" when it follows on.
std::string breakInOrder(const TraceBlock* block, const ParsedRow& parsed) {
  const GenerationTrace& row = parsed.row;
  if (row.held > row.distinct)
    return "more schedules at the target (" + std::to_string(row.held) + ") than distinct ones (" +
           std::to_string(row.distinct) + ")";
  if (row.found < row.held)
    return "fewer schedules found (" + std::to_string(row.found) + ") than held (" +
           std::to_string(row.held) + ")";
  if (row.generation == 0) return "";
  if (block == nullptr || block->run != parsed.run ||
      block->trace.back().generation + 1 != row.generation)
    return "the generations of run " + std::to_string(parsed.run) +
           " do not go 0, 1, 2, ... (found " + std::to_string(row.generation) + ")";
  if (row.evaluations < block->trace.back().evaluations)
    return "the evaluations go down (" + std::to_string(block->trace.back().evaluations) +
           " before, " + std::to_string(row.evaluations) + " here)";
  if (row.found < block->trace.back().found)
    return "the schedules found go down (" + std::to_string(block->trace.back().found) +
           " before, " + std::to_string(row.found) + " here)";
  return "";
}

void spoil(TraceBlock* block) {
  if (block == nullptr) return;
  block->broken = true;
  block->trace.clear();
}

// Made only for a problem: a long trace is mostly good lines.
std::string lineName(int lineNumber) {
  return std::string(kTraceFileName) + " line " + std::to_string(lineNumber);
}

struct TraceReading {
  std::vector<TraceBlock> blocks;
  TraceBlock* block = nullptr;  // the run being read
  // After a line that breaks a block, the block's further rows are dropped without a word each:
  // the break is told once.
  bool skipping = false;
};

// One line that should be a row: a generation 0 starts a run's block, any other follows on.
void readRow(TraceReading& reading, std::string_view line, int lineNumber, std::int64_t offset,
             std::vector<std::string>& problems) {
  const std::optional<ParsedRow> parsed = parseRow(line);
  if (!parsed) {
    problems.push_back(lineName(lineNumber) + ": expected seven tab-separated numbers, found " +
                       quoted(line, 60));
    spoil(reading.block);
    reading.skipping = true;
    return;
  }
  if (parsed->row.generation == 0) {
    reading.blocks.push_back(TraceBlock{parsed->run, lineNumber, offset, {}, false});
    reading.block = &reading.blocks.back();
    reading.skipping = false;
  }
  if (reading.skipping) return;
  if (const std::string reason = breakInOrder(reading.block, *parsed); !reason.empty()) {
    problems.push_back(lineName(lineNumber) + ": " + reason);
    spoil(reading.block);
    reading.skipping = true;
    return;
  }
  reading.block->trace.push_back(parsed->row);
}

}  // namespace

std::string traceRowsText(int run, const RunTrace& trace) {
  std::string text;
  for (const GenerationTrace& row : trace) text += rowLine(run, row);
  return text;
}

std::vector<TraceBlock> parseTraceFile(const std::string& text,
                                       std::vector<std::string>& problems) {
  const std::string_view header(kTraceHeader, std::string_view(kTraceHeader).size() - 1);
  TraceReading reading;
  std::size_t offset = 0;
  for (int lineNumber = 1; offset < text.size(); ++lineNumber) {
    const std::string_view rest = std::string_view(text).substr(offset);
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    const std::size_t lineStart = offset;
    offset += end == std::string_view::npos ? rest.size() : end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line == header && end != std::string_view::npos) continue;
    if (lineNumber == 1)
      problems.push_back(lineName(lineNumber) + ": the file does not start with its header");
    if (end == std::string_view::npos) {
      problems.push_back(lineName(lineNumber) +
                         ": the file ends in the middle of a line (it was cut short)");
      spoil(reading.block);
      break;
    }
    readRow(reading, line, lineNumber, static_cast<std::int64_t>(lineStart), problems);
  }
  return std::move(reading.blocks);
}

}  // namespace jobshop
