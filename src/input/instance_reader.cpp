// The instance reader: header lines, the two matrices under the literal field rule, and the
// checks that refuse an instance instead of storing garbage.
#include "input/instance_reader.h"

#include <climits>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "input/line_reader.h"
#include "input/read_warnings.h"
#include "input/refusal.h"

namespace jobshop {

namespace {

struct SourceFile {
  std::string name;
  std::vector<std::string> lines;
};

enum class Matrix { kTimes, kRouting };

// What is said about a file read whole but not as plainly as it is written.
struct FileWarnings {
  FirstLossyRead lossy;
  FirstUnevenRows uneven;
};

const std::string& lineOrRefuse(const SourceFile& file, size_t lineNumber, EndOfFile expected) {
  if (lineNumber > file.lines.size()) refuse({file.name, lineNumber, expected});
  return file.lines[lineNumber - 1];
}

EndOfFile expectedLine(Matrix matrix, int job) {
  return {
      matrix == Matrix::kTimes ? EndOfFile::Expected::kJobTimes : EndOfFile::Expected::kJobRouting,
      job};
}

// The sign and digits convertDecimal read, as written: a saturated value is shown as the file has
// it, not as the limit it was cut to.
std::string writtenNumber(std::string_view field) {
  // A field holds no space or line feed, so these are the blanks convertDecimal may have skipped.
  const size_t start = field.find_first_not_of("\t\v\f\r");
  size_t end = start;
  if (field[end] == '+' || field[end] == '-') ++end;
  while (end < field.size() && field[end] >= '0' && field[end] <= '9') ++end;
  return std::string(field.substr(start, end - start));
}

// One matrix field read: where it is and what it converted to.
struct MatrixField {
  size_t lineNumber = 0;
  std::string_view text;
  DecimalValue converted;

  std::string shown() const {
    return converted.outOfRange ? writtenNumber(text) : std::to_string(converted.value);
  }
};

// A time beyond the int range is refused rather than stored as the limit it saturated to.
void checkTime(const SourceFile& file, const MatrixField& field, size_t row, size_t column) {
  const int value = field.converted.value;
  if (value >= 0 && !field.converted.outOfRange) return;
  OutOfBounds bounds{OutOfBounds::Quantity::kProcessingTime,
                     value >= 0,
                     value < 0 ? 0 : std::int64_t{INT_MAX},
                     Found{Found::Form::kWritten, field.shown()},
                     static_cast<int>(row + 1),
                     static_cast<int>(column + 1)};
  refuse({file.name, field.lineNumber, bounds});
}

// seenInRow[m] == row + 1 once machine m has appeared in the routing row being read.
void checkRoute(const SourceFile& file, const MatrixField& field, size_t row, size_t machines,
                std::vector<size_t>& seenInRow) {
  const int value = field.converted.value;
  auto refuseRoute = [&](bool repeated) {
    refuse({file.name, field.lineNumber,
            NotAPermutation{static_cast<int>(row + 1), static_cast<int>(machines), field.shown(),
                            repeated}});
  };
  if (value < 1 || static_cast<size_t>(value) > machines) refuseRoute(false);
  size_t& seen = seenInRow[static_cast<size_t>(value)];
  if (seen == row + 1) refuseRoute(true);
  seen = row + 1;
}

void checkHasDigits(const SourceFile& file, const MatrixField& field) {
  if (field.converted.hasDigits) return;
  const Found found = field.text.empty() ? Found{Found::Form::kEmptyField, ""}
                                         : Found{Found::Form::kWritten, quoted(field.text)};
  refuse({file.name, field.lineNumber, NoNumber{found}});
}

// Reads the J lines from firstLine on into `values` (J·M places, row by row). The running index
// goes on across lines, so only the order and the total count of the values matter, not where the
// lines break. Surplus values are counted but not stored, and refused once all J lines are read.
void readMatrixLines(const SourceFile& file, size_t firstLine, Matrix matrix,
                     const Instance& instance, std::vector<int>& values, FileWarnings& said) {
  const size_t machines = static_cast<size_t>(instance.machines);
  const size_t total = static_cast<size_t>(instance.jobs) * machines;
  values.assign(total, 0);
  std::vector<size_t> seenInRow(matrix == Matrix::kRouting ? machines + 1 : 0, 0);
  size_t k = 0;
  for (int job = 1; job <= instance.jobs; ++job) {
    const size_t lineNumber = firstLine + static_cast<size_t>(job) - 1;
    const std::string& line = lineOrRefuse(file, lineNumber, expectedLine(matrix, job));
    const size_t lineStart = k;
    forEachMatrixField(line, [&](std::string_view text) {
      const MatrixField field{lineNumber, text, convertDecimal(text)};
      said.lossy.note(lineNumber, text, field.converted);
      checkHasDigits(file, field);
      if (k < total) {
        if (matrix == Matrix::kTimes) checkTime(file, field, k / machines, k % machines);
        if (matrix == Matrix::kRouting) checkRoute(file, field, k / machines, machines, seenInRow);
        values[k] = field.converted.value;
      }
      ++k;
    });
    said.uneven.note(lineNumber, k - lineStart, machines, lineStart,
                     static_cast<size_t>(job - 1) * machines);
  }
  if (k != total) {
    refuse({file.name, firstLine + static_cast<size_t>(instance.jobs) - 1,
            WrongValueCount{matrix == Matrix::kRouting, instance.jobs, instance.machines, firstLine,
                            static_cast<std::int64_t>(k)}});
  }
}

// No makespan exceeds the sum of all times, and a makespan is a 32-bit float, exact only up to
// 2^24: beyond, distinct makespans would round to the same value and compare as equal.
void checkTotalTime(const SourceFile& file, const Instance& instance, size_t firstLine) {
  std::int64_t total = 0;
  for (const int time : instance.times) total += time;
  if (total <= kMaxTotalTime) return;
  refuse({file.name, firstLine + static_cast<size_t>(instance.jobs) - 1,
          TotalTimeTooLarge{firstLine, kMaxTotalTime, total}});
}

// Converts the whole line `lineNumber`, refusing a value beyond the int range.
DecimalValue readWholeLine(const SourceFile& file, size_t lineNumber, EndOfFile::Expected what,
                           FileWarnings& said) {
  const std::string& line = lineOrRefuse(file, lineNumber, {what});
  const DecimalValue value = convertDecimal(line);
  if (value.outOfRange) {
    refuse({file.name, lineNumber, OutsideIntRange{{Found::Form::kWritten, quoted(line)}}});
  }
  said.lossy.note(lineNumber, line, value);
  return value;
}

// Converts the whole line `lineNumber` as a count that must be at least 1.
int readCount(const SourceFile& file, size_t lineNumber, EndOfFile::Expected what,
              OutOfBounds::Quantity quantity, FileWarnings& said) {
  const DecimalValue count = readWholeLine(file, lineNumber, what, said);
  if (count.value < 1) {
    refuse({file.name, lineNumber,
            OutOfBounds{quantity, false, 1, foundValue(count, file.lines[lineNumber - 1])}});
  }
  return count.value;
}

void checkJobCount(const SourceFile& file, const Instance& instance) {
  if (instance.jobs <= kMaxJobs) return;
  refuse({file.name, 1,
          OutOfBounds{OutOfBounds::Quantity::kJobCount,
                      true,
                      kMaxJobs,
                      {Found::Form::kWritten, std::to_string(instance.jobs)}}});
}

void checkOperationCount(const SourceFile& file, const Instance& instance) {
  const std::int64_t genes = std::int64_t{instance.jobs} * instance.machines;
  if (genes > kMaxGenes) {
    const std::string product = std::to_string(instance.jobs) + " × " +
                                std::to_string(instance.machines) + " = " + std::to_string(genes);
    refuse({file.name, 2,
            OutOfBounds{OutOfBounds::Quantity::kOperationCount,
                        true,
                        kMaxGenes,
                        {Found::Form::kWritten, product}}});
  }
}

// A target below every makespan the instance can have: any positive time makes every makespan at
// least 1, and no makespan is below 0.
std::optional<std::string> unreachableTarget(const std::string& fileName,
                                             const Instance& instance) {
  bool anyTime = false;
  for (const int time : instance.times) anyTime = anyTime || time > 0;
  const int lowest = anyTime ? 1 : 0;
  if (instance.targetMakespan >= lowest) return std::nullopt;
  return fileName + ", línea 3: el makespan objetivo " + std::to_string(instance.targetMakespan) +
         " no se alcanza nunca, todo makespan es al menos " + std::to_string(lowest);
}

}  // namespace

Instance readInstance(const std::string& path, std::vector<std::string>* warnings) {
  return parseInstanceLines(inputFileLines(path), fileNameOf(path), warnings);
}

Instance parseInstanceLines(std::vector<std::string> lines, const std::string& fileName,
                            std::vector<std::string>* warnings) {
  const SourceFile file{fileName, std::move(lines)};
  FileWarnings said{{fileName, std::nullopt}, {fileName, {}, {}, {}, {}}};

  Instance instance;
  instance.jobs =
      readCount(file, 1, EndOfFile::Expected::kJobCount, OutOfBounds::Quantity::kJobCount, said);
  checkJobCount(file, instance);
  instance.machines = readCount(file, 2, EndOfFile::Expected::kMachineCount,
                                OutOfBounds::Quantity::kMachineCount, said);
  checkOperationCount(file, instance);
  instance.targetMakespan =
      readWholeLine(file, 3, EndOfFile::Expected::kTargetMakespan, said).value;

  const size_t jobs = static_cast<size_t>(instance.jobs);
  readMatrixLines(file, 4, Matrix::kTimes, instance, instance.times, said);
  checkTotalTime(file, instance, 4);
  readMatrixLines(file, 4 + jobs, Matrix::kRouting, instance, instance.routing, said);
  said.lossy.passOn(warnings);
  said.uneven.passOn(warnings);
  if (warnings != nullptr) {
    if (std::optional<std::string> target = unreachableTarget(file.name, instance))
      warnings->push_back(std::move(*target));
  }
  return instance;
}

}  // namespace jobshop
