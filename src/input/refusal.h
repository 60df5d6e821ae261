// A refused input file as a value: which file, which line, and what the line should have held and
// held instead, with no words attached, worded in input/refusal_wording.h so that every command
// that reads the file says the same thing and a wording lives in one place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "input/line_reader.h"
#include "support/bounded_file.h"

namespace jobshop {

// What a line held instead of what was expected, as far as words are needed for it.
struct Found {
  enum class Form {
    kWritten,  // `text` as it stands: a number, a product "J × M = P", or quoted file text
    kEmptyLine,
    kEmptyField,  // a matrix field left empty by one space too many
  };
  Form form = Form::kWritten;
  std::string text;
};

// The file could not be opened or read at all.
struct CannotOpen {};

// What stands at the file's path is no regular file: looked at, never read.
struct NotRegularFile {
  FileKind kind = FileKind::kOther;
};

// The file holds more bytes than are read of its kind.
struct FileTooLarge {
  std::int64_t size = 0;
  std::int64_t limit = 0;
};

// The file ended where a line was still expected.
struct EndOfFile {
  enum class Expected {
    kJobCount,
    kMachineCount,
    kTargetMakespan,
    kJobTimes,       // of `job`
    kJobRouting,     // of `job`
    kParameterPairs  // the whole parameter file
  };
  Expected expected = Expected::kJobCount;
  int job = 0;
};

// A whole-line value beyond the int range; found is the quoted line.
struct OutsideIntRange {
  Found found;
};

// A matrix field without a digit.
struct NoNumber {
  Found found;
};

// A value below its least or above its greatest allowed value.
struct OutOfBounds {
  enum class Quantity {
    kJobCount,
    kMachineCount,
    kOperationCount,
    kProcessingTime,  // of `job` on `machine`
    kMateCandidates,
    kCrowdingGroups,
    kCrowdingGroupSize,
  };
  Quantity quantity = Quantity::kJobCount;
  bool atMost = false;  // the bound is the greatest allowed value, not the least
  std::int64_t bound = 0;
  Found found;
  int job = 0;
  int machine = 0;
};

// A job's routing row that is not a permutation of 1..machines.
struct NotAPermutation {
  int job = 0;
  int machines = 0;
  std::string machine;    // the machine number as written
  bool repeated = false;  // rather than one that does not exist
};

// A matrix that does not hold jobs × machines values over its lines.
struct WrongValueCount {
  bool routing = false;  // the routing matrix rather than the processing times
  int jobs = 0;
  int machines = 0;
  std::size_t firstLine = 0;  // through the refused line
  std::int64_t found = 0;
};

// Processing times that add up beyond what makespans hold exactly.
struct TotalTimeTooLarge {
  std::size_t firstLine = 0;  // through the refused line
  std::int64_t bound = 0;
  std::int64_t found = 0;
};

struct OddPopulation {
  Found found;
};

// Both variation percentages negative, so no child is ever evaluated and the budget is never met.
struct NoEvaluations {
  int evaluations = 0;
  int crossoverPercent = 0;
  int mutationPercent = 0;
};

// No crossover flag set on the value lines from the refused one through lastLine.
struct NoCrossover {
  std::size_t lastLine = 0;
};

// More crowding group places than individuals.
struct TooManyGroupPlaces {
  int population = 0;
  int groups = 0;
  int groupSize = 0;
};

using RefusalDetail =
    std::variant<CannotOpen, NotRegularFile, FileTooLarge, EndOfFile, OutsideIntRange, NoNumber,
                 OutOfBounds, NotAPermutation, WrongValueCount, TotalTimeTooLarge, OddPopulation,
                 NoEvaluations, NoCrossover, TooManyGroupPlaces>;

struct Refusal {
  // The file's name as the user knows it; its whole path when it cannot be opened or read.
  std::string file;
  std::size_t line = 0;  // 1-based; 0 when the file could not be opened or read
  RefusalDetail detail;
};

// Throws the InputError of refusal, worded in Spanish as the main run prints it.
[[noreturn]] void refuse(Refusal refusal);

// The lines of the input file at path (at most kMaxInputFileBytes), or the refusal of a file that
// cannot be opened, is no regular file or is larger, thrown.
std::vector<std::string> inputFileLines(const std::string& path);

// The last component of `path`, the name a user knows the file by.
std::string fileNameOf(const std::string& path);

// `text` in double quotes, as printableText shows it, cut short with "..." between two whole
// characters when it is too long to read in one message.
std::string quoted(std::string_view text);

// How a converted whole-line value is shown as found: the number, or the quoted line when the line
// held no digit at all (so that "abc" is not reported as 0), or an empty line.
Found foundValue(const DecimalValue& value, std::string_view line);

}  // namespace jobshop
