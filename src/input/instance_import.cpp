// Parsing of the two published instance formats into an Instance, the classic lower bound, and
// the "D_Entrada.txt" text of an Instance.
#include "input/instance_import.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "input/input_error.h"
#include "input/instance_reader.h"
#include "input/refusal.h"
#include "input/refusal_wording.h"
#include "support/printable_text.h"
#include "support/text_files.h"

namespace jobshop {

namespace {

// A line that holds something other than blanks or a comment.
struct TextLine {
  int number = 0;  // 1-based, counted over every line of the file
  std::vector<std::string_view> tokens;
};

struct SourceText {
  std::string fileName;
  std::vector<TextLine> lines;
  // Where messages about a premature end point: the file's last line.
  int lastLineNumber = 1;
};

// One job as read, in operation order, machines already 1-based.
struct JobRow {
  std::vector<int> machines;
  std::vector<int> times;
};

[[noreturn]] void refuse(const SourceText& source, int lineNumber, const std::string& reason) {
  throw InputError{printableText(source.fileName) + ":" + std::to_string(lineNumber) + ": " +
                   reason};
}

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::vector<std::string_view> splitTokens(std::string_view line) {
  std::vector<std::string_view> tokens;
  size_t p = 0;
  while (p < line.size()) {
    while (p < line.size() && isSeparator(line[p])) ++p;
    size_t start = p;
    while (p < line.size() && !isSeparator(line[p])) ++p;
    if (p > start) tokens.push_back(line.substr(start, p - start));
  }
  return tokens;
}

// Keeps views into text, which must outlive the result.
SourceText significantLines(const std::string& text, const std::string& fileName) {
  SourceText source;
  source.fileName = fileName;
  std::string_view rest(text);
  // Editors on some systems start a UTF-8 file with a byte order mark.
  if (rest.substr(0, 3) == "\xEF\xBB\xBF") rest.remove_prefix(3);
  int number = 0;
  while (!rest.empty()) {
    size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    ++number;
    std::vector<std::string_view> tokens = splitTokens(line);
    if (tokens.empty() || tokens.front().front() == '#') continue;
    source.lines.push_back(TextLine{number, std::move(tokens)});
  }
  source.lastLineNumber = std::max(number, 1);
  return source;
}

bool hasNumberSyntax(std::string_view token) {
  if (!token.empty() && (token.front() == '-' || token.front() == '+')) token.remove_prefix(1);
  return !token.empty() &&
         std::all_of(token.begin(), token.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int parseNumber(const SourceText& source, int lineNumber, std::string_view token) {
  if (!hasNumberSyntax(token)) refuse(source, lineNumber, quoted(token) + " is not a whole number");
  std::string_view digits = token.front() == '+' ? token.substr(1) : token;
  int value = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size()) {
    refuse(source, lineNumber, std::string(token) + " does not fit a 32-bit integer");
  }
  return value;
}

std::vector<int> parseNumbers(const SourceText& source, const TextLine& line) {
  std::vector<int> values;
  values.reserve(line.tokens.size());
  for (std::string_view token : line.tokens)
    values.push_back(parseNumber(source, line.number, token));
  return values;
}

bool isKeyword(const TextLine& line, std::string_view word) {
  if (line.tokens.size() != 1 || line.tokens.front().size() != word.size()) return false;
  return std::equal(word.begin(), word.end(), line.tokens.front().begin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  });
}

bool isBlockKeyword(const TextLine& line) {
  return isKeyword(line, "times") || isKeyword(line, "machines");
}

struct Shape {
  int jobs = 0;
  int machines = 0;
};

Shape checkShape(const SourceText& source, int lineNumber, int jobs, int machines) {
  if (jobs < 1) {
    refuse(source, lineNumber,
           "the number of jobs must be at least 1, found " + std::to_string(jobs));
  }
  if (machines < 1) {
    refuse(source, lineNumber,
           "the number of machines must be at least 1, found " + std::to_string(machines));
  }
  // The program's reader refuses larger instances, so an import must not produce one.
  if (jobs > kMaxJobs) {
    refuse(source, lineNumber,
           std::to_string(jobs) + " jobs are more than the " + std::to_string(kMaxJobs) +
               " the program handles");
  }
  if (static_cast<std::int64_t>(jobs) * machines > kMaxGenes) {
    refuse(source, lineNumber,
           std::to_string(jobs) + " jobs x " + std::to_string(machines) +
               " machines are more operations than the " + std::to_string(kMaxGenes) +
               " the program handles");
  }
  return Shape{jobs, machines};
}

std::string countMismatch(int job, size_t found, size_t expected, const std::string& what) {
  return "job " + std::to_string(job) + " has too " + (found < expected ? "few" : "many") +
         " values: " + std::to_string(found) + " numbers, expected " + what;
}

// Checks one job's machine numbers as the file writes them, numbered from firstMachine (0 or 1),
// so that messages quote the file's own numbers; returns them numbered from 1.
std::vector<int> checkMachines(const SourceText& source, int lineNumber, int job,
                               const std::vector<int>& fileMachines, int machineCount,
                               int firstMachine) {
  std::vector<int> operationOn(static_cast<size_t>(machineCount), 0);
  std::vector<int> machines;
  for (size_t o = 0; o < fileMachines.size(); ++o) {
    int number = fileMachines[o];
    std::string where = "job " + std::to_string(job) + ", operation " + std::to_string(o + 1) +
                        ": machine " + std::to_string(number);
    if (static_cast<std::int64_t>(number) < firstMachine ||
        static_cast<std::int64_t>(number) >=
            static_cast<std::int64_t>(firstMachine) + machineCount) {
      refuse(source, lineNumber,
             where + " is out of range " + std::to_string(firstMachine) + ".." +
                 std::to_string(machineCount - 1 + firstMachine));
    }
    int machine = number - firstMachine + 1;
    int& earlier = operationOn[static_cast<size_t>(machine - 1)];
    if (earlier != 0) {
      refuse(source, lineNumber,
             where + " is already used by operation " + std::to_string(earlier));
    }
    earlier = static_cast<int>(o + 1);
    machines.push_back(machine);
  }
  return machines;
}

// Checks the times of one job and adds them to total, refusing a total the program's reader would
// refuse: no makespan can exceed the sum of all processing times, and the program's float
// makespans hold whole numbers exactly only up to kMaxTotalTime.
void checkTimes(const SourceText& source, int lineNumber, int job, const std::vector<int>& times,
                std::int64_t& total) {
  for (size_t o = 0; o < times.size(); ++o) {
    if (times[o] < 0) {
      refuse(source, lineNumber,
             "job " + std::to_string(job) + ", operation " + std::to_string(o + 1) +
                 ": processing time " + std::to_string(times[o]) + " is negative");
    }
    total += times[o];
  }
  if (total > kMaxTotalTime) {
    refuse(source, lineNumber,
           "the processing times add up to more than " + std::to_string(kMaxTotalTime) +
               ", beyond what the program's makespans hold exactly");
  }
}

Instance buildInstance(const Shape& shape, const std::vector<JobRow>& rows) {
  Instance instance;
  instance.jobs = shape.jobs;
  instance.machines = shape.machines;
  size_t cells = static_cast<size_t>(shape.jobs) * static_cast<size_t>(shape.machines);
  instance.times.assign(cells, 0);
  instance.routing.assign(cells, 0);
  for (size_t j = 0; j < rows.size(); ++j) {
    size_t rowStart = j * static_cast<size_t>(shape.machines);
    for (size_t o = 0; o < rows[j].machines.size(); ++o) {
      int machine = rows[j].machines[o];
      instance.routing[rowStart + o] = machine;
      instance.times[rowStart + static_cast<size_t>(machine - 1)] = rows[j].times[o];
    }
  }
  instance.targetMakespan = classicLowerBound(instance);
  return instance;
}

ImportedInstance parseStandard(const SourceText& source) {
  const std::vector<TextLine>& lines = source.lines;
  if (lines.empty()) {
    refuse(source, source.lastLineNumber,
           "no instance: expected a line with the number of jobs and machines");
  }
  std::vector<int> header = parseNumbers(source, lines[0]);
  if (header.size() != 2) {
    refuse(source, lines[0].number,
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
      refuse(source, source.lastLineNumber,
             "the file ends after " + std::to_string(job - 1) + " of " +
                 std::to_string(shape.jobs) + " jobs");
    }
    const TextLine& line = lines[static_cast<size_t>(job)];
    std::vector<int> values = parseNumbers(source, line);
    if (values.size() != expected) {
      refuse(source, line.number, countMismatch(job, values.size(), expected, pairs));
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
    refuse(source, lines[static_cast<size_t>(shape.jobs) + 1].number,
           "unexpected line after the last of " + std::to_string(shape.jobs) + " jobs");
  }
  return ImportedInstance{buildInstance(shape, rows), std::nullopt};
}

// Reads one Taillard block of jobs lines of machines numbers each, starting after its keyword.
std::vector<std::vector<int>> readTaillardBlock(const SourceText& source, size_t& next,
                                                const Shape& shape, const std::string& name,
                                                const std::string& what) {
  std::vector<std::vector<int>> block;
  for (int job = 1; job <= shape.jobs; ++job) {
    if (next >= source.lines.size() || isBlockKeyword(source.lines[next])) {
      int where = next < source.lines.size() ? source.lines[next].number : source.lastLineNumber;
      refuse(source, where,
             "the \"" + name + "\" block ends after " + std::to_string(job - 1) + " of " +
                 std::to_string(shape.jobs) + " jobs");
    }
    const TextLine& line = source.lines[next++];
    std::vector<int> values = parseNumbers(source, line);
    size_t expected = static_cast<size_t>(shape.machines);
    if (values.size() != expected) {
      refuse(source, line.number,
             countMismatch(job, values.size(), expected, std::to_string(expected) + " " + what));
    }
    block.push_back(std::move(values));
  }
  return block;
}

void expectKeyword(const SourceText& source, size_t& next, const std::string& name) {
  if (next >= source.lines.size()) {
    refuse(source, source.lastLineNumber, "missing \"" + name + "\" block");
  }
  if (!isKeyword(source.lines[next], name)) {
    refuse(
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
    refuse(source, headerLine.number,
           "the upper bound " + std::to_string(bound) + " in the header is negative");
  }
  return bound;
}

ImportedInstance parseTaillard(const SourceText& source) {
  size_t next = 0;
  // Published files put a caption such as "Nb of jobs, Nb of Machines, ..." above the header.
  while (next < source.lines.size() && isCaption(source.lines[next])) ++next;
  if (next >= source.lines.size() || isBlockKeyword(source.lines[next])) {
    int where = next < source.lines.size() ? source.lines[next].number : source.lastLineNumber;
    refuse(source, where, "expected a header line with the number of jobs and machines");
  }
  const TextLine& headerLine = source.lines[next++];
  if (headerLine.tokens.size() < 2) {
    refuse(source, headerLine.number,
           "expected at least 2 numbers (jobs and machines), found " +
               std::to_string(headerLine.tokens.size()));
  }
  int jobs = parseNumber(source, headerLine.number, headerLine.tokens[0]);
  int machines = parseNumber(source, headerLine.number, headerLine.tokens[1]);
  // Of the numbers after J and M only the upper bound is used, but all must still be numbers.
  for (size_t k = 2; k < headerLine.tokens.size(); ++k) {
    if (!hasNumberSyntax(headerLine.tokens[k])) {
      refuse(source, headerLine.number, quoted(headerLine.tokens[k]) + " is not a whole number");
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
    refuse(source, source.lines[next].number, "unexpected line after the \"Machines\" block");
  }
  return ImportedInstance{buildInstance(shape, rows), upperBound};
}

bool isTaillard(const SourceText& source) {
  return std::any_of(source.lines.begin(), source.lines.end(), isBlockKeyword);
}

}  // namespace

InstanceFormat detectInstanceFormat(const std::string& text) {
  return isTaillard(significantLines(text, "")) ? InstanceFormat::kTaillard
                                                : InstanceFormat::kStandard;
}

ImportedInstance parseInstanceText(const std::string& text, const std::string& fileName) {
  SourceText source = significantLines(text, fileName);
  return isTaillard(source) ? parseTaillard(source) : parseStandard(source);
}

ImportedInstance importInstanceFile(const std::string& path) {
  const std::optional<std::string> text = readWholeFile(path);
  if (!text) {
    const Refusal refusal{path, 0, CannotOpen{std::strerror(errno)}};
    throw InputError{inEnglish(refusal), refusal};
  }
  return parseInstanceText(*text, path);
}

int classicLowerBound(const Instance& instance) {
  std::vector<std::int64_t> machineLoad(static_cast<size_t>(instance.machines), 0);
  std::int64_t bound = 0;
  for (int j = 1; j <= instance.jobs; ++j) {
    std::int64_t jobTotal = 0;
    for (int m = 1; m <= instance.machines; ++m) {
      jobTotal += instance.timeOn(j, m);
      machineLoad[static_cast<size_t>(m - 1)] += instance.timeOn(j, m);
    }
    bound = std::max(bound, jobTotal);
  }
  for (std::int64_t load : machineLoad) bound = std::max(bound, load);
  return static_cast<int>(bound);
}

std::string formatInstanceFile(const Instance& instance) {
  std::string text = std::to_string(instance.jobs) + "\n" + std::to_string(instance.machines) +
                     "\n" + std::to_string(instance.targetMakespan) + "\n";
  auto appendRows = [&](const std::vector<int>& matrix) {
    for (int j = 0; j < instance.jobs; ++j) {
      for (int m = 0; m < instance.machines; ++m) {
        if (m > 0) text += ' ';
        text += std::to_string(matrix[static_cast<size_t>(j * instance.machines + m)]);
      }
      text += '\n';
    }
  };
  appendRows(instance.times);
  appendRows(instance.routing);
  return text;
}

}  // namespace jobshop
