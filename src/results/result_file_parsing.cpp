// Reading the text of each result file into its records (progress records, one-number lines,
// solution blocks), noting every malformed line by file and line number.
#include "results/result_file_parsing.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "results/result_files.h"
#include "results/run_records.h"
#include "support/bounded_file.h"
#include "support/printable_text.h"
#include "support/text_files.h"

namespace jobshop {

namespace {

struct TextLines {
  std::vector<std::string_view> lines;
  std::vector<std::int64_t> offsets;  // of each line's first byte
  bool lastLineUnterminated = false;
};

// The program ends every line with a line feed; a carriage return before it (a file that went
// through another system) is tolerated and dropped.
TextLines linesWithOffsets(const std::string& text) {
  TextLines result;
  std::string_view rest(text);
  while (!rest.empty()) {
    std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    result.lines.push_back(line);
    result.offsets.push_back(static_cast<std::int64_t>(rest.data() - text.data()));
    if (end == std::string_view::npos) {
      result.lastLineUnterminated = true;
      break;
    }
    rest.remove_prefix(end + 1);
  }
  return result;
}

std::vector<std::string_view> splitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t p = 0;
  while (p < line.size()) {
    while (p < line.size() && (line[p] == ' ' || line[p] == '\t')) ++p;
    std::size_t start = p;
    while (p < line.size() && line[p] != ' ' && line[p] != '\t') ++p;
    if (p > start) fields.push_back(line.substr(start, p - start));
  }
  return fields;
}

bool parseInteger(std::string_view field, int& value) {
  if (field.empty()) return false;
  auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  return error == std::errc() && end == field.data() + field.size();
}

// Far beyond any makespan, count or distance the program writes, and safe to convert to int.
constexpr double kLargestRecordedValue = 1e9;

// Digits with an optional sign and an optional fraction, as "%.1f" and "%.2f" write them.
bool parseDecimal(std::string_view field, bool integerOnly, double& value) {
  std::size_t p = 0;
  if (p < field.size() && field[p] == '-') ++p;
  std::size_t digits = p;
  while (p < field.size() && field[p] >= '0' && field[p] <= '9') ++p;
  if (p == digits) return false;
  if (p < field.size() && field[p] == '.' && !integerOnly) {
    std::size_t fraction = ++p;
    while (p < field.size() && field[p] >= '0' && field[p] <= '9') ++p;
    if (p == fraction) return false;
  }
  if (p != field.size()) return false;
  auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  return error == std::errc() && end == field.data() + field.size() &&
         std::fabs(value) <= kLargestRecordedValue;
}

std::string at(const std::string& fileName, int line) {
  return fileName + " line " + std::to_string(line) + ": ";
}

// The line as printableText shows it, so that a stray control byte cannot reach the terminal and a
// cut never falls inside a character.
std::string quotedLine(std::string_view line) { return quoted(line, 60); }

void noteUnterminated(const TextLines& text, const std::string& fileName,
                      std::vector<std::string>& problems) {
  if (text.lastLineUnterminated) {
    problems.push_back(at(fileName, static_cast<int>(text.lines.size())) +
                       "the file ends in the middle of a line (it was cut short)");
  }
}

}  // namespace

std::vector<ProgressRecord> parseProgressFile(const std::string& text,
                                              std::vector<std::string>& problems) {
  const std::string fileName = kProgressFileName;
  TextLines lines = linesWithOffsets(text);
  noteUnterminated(lines, fileName, problems);
  std::vector<ProgressRecord> records;
  bool open = false;
  for (std::size_t i = 0; i < lines.lines.size(); ++i) {
    const int lineNumber = static_cast<int>(i) + 1;
    std::string_view line = lines.lines[i];
    if (line.empty()) {
      if (open) {
        open = false;
      } else {
        problems.push_back(at(fileName, lineNumber) + "an empty line where a record should start");
      }
      continue;
    }
    if (!open) {
      records.push_back(ProgressRecord{{}, lineNumber, lines.offsets[i]});
      open = true;
    }
    std::vector<std::string_view> fields = splitFields(line);
    ProgressStep step;
    if (fields.size() != 2 || !parseDecimal(fields[0], false, step.makespan) ||
        !parseInteger(fields[1], step.generation)) {
      problems.push_back(at(fileName, lineNumber) + "expected a makespan and a generation, found " +
                         quotedLine(line));
      continue;
    }
    std::vector<ProgressStep>& steps = records.back().steps;
    if (steps.empty() && step.generation != 0) {
      problems.push_back(at(fileName, lineNumber) +
                         "a record should start with generation 0, not " +
                         std::to_string(step.generation));
    } else if (!steps.empty() && (step.generation <= steps.back().generation ||
                                  step.makespan >= steps.back().makespan)) {
      problems.push_back(at(fileName, lineNumber) +
                         "generations should rise and makespans fall within a record");
    }
    steps.push_back(step);
  }
  if (open) {
    problems.push_back(at(fileName, records.back().firstLine) +
                       "the last record is not closed by an empty line (a run still going or cut "
                       "short); it is left out");
    records.pop_back();
  }
  return records;
}

std::vector<NumberLine> parseNumberLines(const std::string& text, const std::string& fileName,
                                         bool integerOnly, std::vector<std::string>& problems) {
  TextLines lines = linesWithOffsets(text);
  noteUnterminated(lines, fileName, problems);
  std::vector<NumberLine> numbers;
  for (std::size_t i = 0; i < lines.lines.size(); ++i) {
    NumberLine number;
    number.line = static_cast<int>(i) + 1;
    number.offset = lines.offsets[i];
    std::vector<std::string_view> fields = splitFields(lines.lines[i]);
    double value = 0.0;
    if (fields.size() == 1 && parseDecimal(fields[0], integerOnly, value)) {
      number.value = value;
    } else {
      problems.push_back(at(fileName, number.line) + "expected " +
                         (integerOnly ? "a whole number" : "one number") + ", found " +
                         quotedLine(lines.lines[i]));
    }
    numbers.push_back(number);
  }
  return numbers;
}

std::vector<SolutionBlock> parseSolutionFile(const std::string& text, int geneCount,
                                             std::vector<std::string>& problems) {
  const std::string fileName = kSolutionFileName;
  TextLines lines = linesWithOffsets(text);
  noteUnterminated(lines, fileName, problems);
  std::vector<SolutionBlock> blocks;
  bool open = false;
  const std::size_t expected = static_cast<std::size_t>(geneCount) + 1;
  for (std::size_t i = 0; i < lines.lines.size(); ++i) {
    const int lineNumber = static_cast<int>(i) + 1;
    std::string_view line = lines.lines[i];
    if (line.empty()) {
      if (!open) {
        problems.push_back(at(fileName, lineNumber) + "an empty line where a block should start");
      }
      open = false;
      continue;
    }
    if (!open) {
      blocks.push_back(SolutionBlock{{}, 0, lineNumber, lines.offsets[i]});
      open = true;
    }
    SolutionBlock& block = blocks.back();
    ++block.lineCount;
    std::vector<std::string_view> fields = splitFields(line);
    if (fields.size() != expected) {
      problems.push_back(at(fileName, lineNumber) + "expected " + std::to_string(expected) +
                         " numbers (" + std::to_string(geneCount) +
                         " machine-sequence entries and the makespan), found " +
                         std::to_string(fields.size()));
      continue;
    }
    RecordedSolution solution;
    solution.line = lineNumber;
    solution.sequences.resize(static_cast<std::size_t>(geneCount));
    bool wellFormed = parseInteger(fields.back(), solution.makespan);
    for (std::size_t c = 0; wellFormed && c + 1 < expected; ++c) {
      wellFormed = parseInteger(fields[c], solution.sequences[c]);
    }
    if (!wellFormed) {
      problems.push_back(at(fileName, lineNumber) + "expected whole numbers only, found " +
                         quotedLine(line));
      continue;
    }
    block.solutions.push_back(std::move(solution));
  }
  if (open) {
    problems.push_back(at(fileName, blocks.back().firstLine) +
                       "the last block is not closed by an empty line (cut short)");
  }
  return blocks;
}

ResultFileTexts readResultFiles(const std::string& folder, std::vector<std::string>& problems) {
  ResultFileTexts texts;
  for (std::size_t f = 0; f < texts.size(); ++f) {
    const std::string path = folder + kResultFileNames[f];
    BoundedRead read = readBoundedFile(path, kMaxResultFileBytes);
    texts[f] = std::move(read.text);
    // One that is there but refused is said with its reason, and read as empty, like one that
    // cannot be opened.
    if (read.failure == BoundedReadFailure::kNotRegular ||
        read.failure == BoundedReadFailure::kTooLarge) {
      problems.push_back("cannot read " + path + " (" + read.problem + "); it is taken as empty");
      texts[f] = std::string();
    }
  }
  return texts;
}

ParsedResultFiles parseResultFiles(const ResultFileTexts& texts, int geneCount,
                                   std::vector<std::string>& problems) {
  ParsedResultFiles files;
  files.progress = parseProgressFile(texts[kProgressFile].value_or(""), problems);
  files.bests = parseNumberLines(texts[kOptimaFile].value_or(""), kOptimaFileName, false, problems);
  files.counts = parseNumberLines(texts[kOptimumCountFile].value_or(""), kOptimumCountFileName,
                                  true, problems);
  files.distances =
      parseNumberLines(texts[kDistanceFile].value_or(""), kDistanceFileName, false, problems);
  files.blocks = parseSolutionFile(texts[kSolutionFile].value_or(""), geneCount, problems);
  for (std::size_t f = 0; f < texts.size(); ++f)
    files.sizes[f] = static_cast<std::int64_t>(texts[f] ? texts[f]->size() : 0);
  return files;
}

}  // namespace jobshop
