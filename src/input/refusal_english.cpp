// The English words for every refusal, as the report and the import command print them.
#include <string>

#include "input/parameter_table.h"
#include "input/refusal_wording.h"
#include "support/printable_text.h"

namespace jobshop {

namespace {

// Any integer as its digits: line numbers are sizes, counts are ints.
template <class Integer>
std::string number(Integer value) {
  return std::to_string(value);
}

std::string found(const Found& found) {
  switch (found.form) {
    case Found::Form::kEmptyLine:
      return "an empty line";
    case Found::Form::kEmptyField:
      return "an empty field (one space too many)";
    case Found::Form::kWritten:
      break;
  }
  return found.text;
}

std::string linesPhrase(std::size_t firstLine, std::size_t lastLine) {
  return lastLine == firstLine ? "line " + number(firstLine)
                               : "lines " + number(firstLine) + " to " + number(lastLine);
}

std::string expectation(const EndOfFile& end) {
  switch (end.expected) {
    case EndOfFile::Expected::kJobCount:
      return "the number of jobs";
    case EndOfFile::Expected::kMachineCount:
      return "the number of machines";
    case EndOfFile::Expected::kTargetMakespan:
      return "the target makespan";
    case EndOfFile::Expected::kJobTimes:
      return "the processing times of job " + number(end.job);
    case EndOfFile::Expected::kJobRouting:
      return "the routing of job " + number(end.job);
    case EndOfFile::Expected::kParameterPairs:
      break;
  }
  return number(2 * kParameterFieldCount) + " lines (" + number(kParameterFieldCount) +
         " pairs of a label and a value)";
}

std::string quantity(const OutOfBounds& bounds) {
  switch (bounds.quantity) {
    case OutOfBounds::Quantity::kJobCount:
      return "the number of jobs";
    case OutOfBounds::Quantity::kMachineCount:
      return "the number of machines";
    case OutOfBounds::Quantity::kOperationCount:
      return "the number of operations (jobs × machines)";
    case OutOfBounds::Quantity::kProcessingTime:
      return "the processing time of job " + number(bounds.job) + " on machine " +
             number(bounds.machine);
    case OutOfBounds::Quantity::kMateCandidates:
      return "the number of mate candidates";
    case OutOfBounds::Quantity::kCrowdingGroups:
      return "the number of crowding groups";
    case OutOfBounds::Quantity::kCrowdingGroupSize:
      break;
  }
  return "the crowding group size";
}

// The reason after "FILE:N: ".
struct EnglishReason {
  const Refusal& refusal;

  std::string operator()(const CannotOpen& /*unopened*/) const { return ""; }
  std::string operator()(const EndOfFile& end) const {
    return "expected " + expectation(end) + ", found the end of the file";
  }
  std::string operator()(const OutsideIntRange& outside) const {
    return "expected a whole number from -2147483648 to 2147483647, found " + found(outside.found);
  }
  std::string operator()(const NoNumber& none) const {
    return "expected a whole number, found " + found(none.found);
  }
  std::string operator()(const OutOfBounds& bounds) const {
    return quantity(bounds) + (bounds.atMost ? " must be at most " : " must be at least ") +
           number(bounds.bound) + ", found " + found(bounds.found);
  }
  std::string operator()(const NotAPermutation& route) const {
    return "the routing of job " + number(route.job) + " is not a permutation of 1.." +
           number(route.machines) + " (machine " + route.machine +
           (route.repeated ? " appears twice)" : " does not exist)");
  }
  std::string operator()(const WrongValueCount& count) const {
    return "expected " + number(std::int64_t{count.jobs} * count.machines) + " values (" +
           number(count.jobs) + " jobs × " + number(count.machines) + " machines) on " +
           linesPhrase(count.firstLine, refusal.line) + ", found " + number(count.found);
  }
  std::string operator()(const TotalTimeTooLarge& total) const {
    return "the processing times on " + linesPhrase(total.firstLine, refusal.line) +
           " must add up to at most " + number(total.bound) + ", found " + number(total.found);
  }
  std::string operator()(const OddPopulation& odd) const {
    return "the population size must be even and at least 2, found " + found(odd.found);
  }
  std::string operator()(const NoEvaluations& none) const {
    return "the crossover or the mutation percentage must be at least 0 to reach " +
           number(none.evaluations) + " evaluations, found " + number(none.crossoverPercent) +
           " and " + number(none.mutationPercent);
  }
  std::string operator()(const NoCrossover& none) const {
    return "expected at least one crossover enabled (a 1 on the even lines " +
           number(refusal.line) + " to " + number(none.lastLine) + "), found none";
  }
  std::string operator()(const TooManyGroupPlaces& places) const {
    return "the number of crowding groups times their size must be at most the population size " +
           number(places.population) + ", found " + number(places.groups) + " × " +
           number(places.groupSize) + " = " +
           number(std::int64_t{places.groups} * places.groupSize);
  }
};

std::string cannotOpen(const Refusal& refusal, const CannotOpen& unopened) {
  if (unopened.reason.empty()) return "cannot open " + refusal.file;
  return printableText(refusal.file) + ": cannot open the file (" + unopened.reason + ")";
}

}  // namespace

std::string inEnglish(const Refusal& refusal) {
  if (const auto* unopened = std::get_if<CannotOpen>(&refusal.detail))
    return cannotOpen(refusal, *unopened);
  return refusal.file + ":" + number(refusal.line) + ": " +
         std::visit(EnglishReason{refusal}, refusal.detail);
}

std::string inEnglish(const InputError& error) {
  return error.refusal ? inEnglish(*error.refusal) : error.message;
}

}  // namespace jobshop
