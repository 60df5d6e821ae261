// The parameter reader: one label/value pair per field of the parameter table, then the checks
// that keep a run well-defined.
#include "input/parameter_reader.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "input/line_reader.h"
#include "input/parameter_table.h"
#include "input/read_warnings.h"
#include "input/refusal.h"

namespace jobshop {

namespace {

constexpr size_t kLineCount = 2 * kParameterFields.size();

// The value line of the field at position (0-based); its label is the line before.
constexpr size_t valueLineOf(size_t position) { return 2 * position + 2; }

template <class Value>
constexpr size_t valueLineOf(Value Parameters::*member) {
  return valueLineOf(parameterPosition(member));
}

struct ValueLines {
  std::string fileName;
  std::vector<std::string> lines;

  const std::string& text(size_t position) const { return lines[valueLineOf(position) - 1]; }
  DecimalValue value(size_t position) const { return convertDecimal(text(position)); }
  Found found(size_t position) const { return foundValue(value(position), text(position)); }
};

void requireLines(const ValueLines& file) {
  if (file.lines.size() >= kLineCount) return;
  refuse({file.fileName, file.lines.size() + 1, EndOfFile{EndOfFile::Expected::kParameterPairs}});
}

// Refuses the first value beyond the int range and notes the first read lossily; labels are free
// text and never looked at.
FirstLossyRead checkValueTexts(const ValueLines& file) {
  FirstLossyRead lossy{file.fileName, std::nullopt};
  for (size_t position = 0; position < kParameterFields.size(); ++position) {
    const DecimalValue value = file.value(position);
    const size_t line = valueLineOf(position);
    if (value.outOfRange) {
      refuse({file.fileName, line,
              OutsideIntRange{{Found::Form::kWritten, quoted(file.text(position))}}});
    }
    lossy.note(line, file.text(position), value);
  }
  return lossy;
}

Parameters fieldValues(const ValueLines& file) {
  Parameters parameters;
  for (size_t position = 0; position < kParameterFields.size(); ++position)
    kParameterFields[position].setIn(parameters, file.value(position).value);
  return parameters;
}

void checkPopulation(const ValueLines& file, const Parameters& parameters) {
  const int population = parameters.populationSize;
  if (population >= 2 && population % 2 == 0) return;
  const size_t position = parameterPosition(&Parameters::populationSize);
  refuse({file.fileName, valueLineOf(position), OddPopulation{file.found(position)}});
}

// With both tests bound to fail no child is ever evaluated, so the budget is never reached.
void checkEvaluationsReachable(const ValueLines& file, const Parameters& parameters) {
  if (parameters.crossoverPercent >= 0 || parameters.mutationPercent >= 0 ||
      parameters.maxEvaluations <= parameters.populationSize)
    return;
  refuse({file.fileName, valueLineOf(&Parameters::mutationPercent),
          NoEvaluations{parameters.maxEvaluations, parameters.crossoverPercent,
                        parameters.mutationPercent}});
}

void checkSomeCrossover(const ValueLines& file, const Parameters& parameters) {
  std::optional<size_t> first;
  std::optional<size_t> last;
  for (size_t position = 0; position < kParameterFields.size(); ++position) {
    const ParameterField& field = kParameterFields[position];
    if (field.kind != ParameterKind::kCrossover) continue;
    if (field.valueIn(parameters) == 1) return;
    if (!first) first = position;
    last = position;
  }
  refuse({file.fileName, valueLineOf(*first), NoCrossover{valueLineOf(*last)}});
}

void requireAtLeastOne(const ValueLines& file, int Parameters::*member,
                       OutOfBounds::Quantity quantity) {
  const size_t position = parameterPosition(member);
  if (file.value(position).value >= 1) return;
  refuse({file.fileName, valueLineOf(position),
          OutOfBounds{quantity, false, 1, file.found(position)}});
}

void checkGroupPlaces(const ValueLines& file, const Parameters& parameters) {
  const std::int64_t groupPlaces =
      std::int64_t{parameters.crowdingGroups} * parameters.crowdingGroupSize;
  if (groupPlaces <= parameters.populationSize) return;
  refuse({file.fileName, valueLineOf(&Parameters::crowdingGroupSize),
          TooManyGroupPlaces{parameters.populationSize, parameters.crowdingGroups,
                             parameters.crowdingGroupSize}});
}

}  // namespace

Parameters readParameters(const std::string& path, std::vector<std::string>* warnings) {
  return parseParameterLines(inputFileLines(path), fileNameOf(path), warnings);
}

Parameters parseParameterLines(std::vector<std::string> lines, const std::string& fileName,
                               std::vector<std::string>* warnings) {
  const ValueLines file{fileName, std::move(lines)};
  requireLines(file);
  const FirstLossyRead lossy = checkValueTexts(file);
  const Parameters parameters = fieldValues(file);
  checkPopulation(file, parameters);
  checkEvaluationsReachable(file, parameters);
  checkSomeCrossover(file, parameters);
  requireAtLeastOne(file, &Parameters::mateCandidates, OutOfBounds::Quantity::kMateCandidates);
  requireAtLeastOne(file, &Parameters::crowdingGroups, OutOfBounds::Quantity::kCrowdingGroups);
  requireAtLeastOne(file, &Parameters::crowdingGroupSize,
                    OutOfBounds::Quantity::kCrowdingGroupSize);
  checkGroupPlaces(file, parameters);
  lossy.passOn(warnings);
  return parameters;
}

}  // namespace jobshop
