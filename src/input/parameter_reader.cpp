// The parameter reader: 19 label/value pairs, then the checks that keep a run well-defined.
#include "input/parameter_reader.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "input/line_reader.h"
#include "input/read_warnings.h"
#include "input/refusal.h"

namespace jobshop {

namespace {

constexpr size_t kPairCount = 19;
constexpr size_t kLineCount = 2 * kPairCount;

size_t valueLineOf(size_t pair) { return 2 * pair; }

struct ValueLines {
  std::string fileName;
  std::vector<std::string> lines;

  const std::string& text(size_t pair) const { return lines[valueLineOf(pair) - 1]; }
  DecimalValue value(size_t pair) const { return convertDecimal(text(pair)); }
};

void requireAtLeastOne(const ValueLines& file, size_t pair, const char* what) {
  const DecimalValue value = file.value(pair);
  if (value.value < 1) {
    refuseLine(file.fileName, valueLineOf(pair),
               std::string(what) + " debe ser al menos 1, se encontró " +
                   foundValue(value, file.text(pair)));
  }
}

// Refuses the first value beyond the int range and notes the first read lossily; labels are free
// text and never looked at.
FirstLossyRead checkValueTexts(const ValueLines& file) {
  FirstLossyRead lossy{file.fileName, std::nullopt};
  for (size_t pair = 1; pair <= kPairCount; ++pair) {
    const DecimalValue value = file.value(pair);
    if (value.outOfRange) refuseOutOfRange(file.fileName, valueLineOf(pair), file.text(pair));
    lossy.note(valueLineOf(pair), file.text(pair), value);
  }
  return lossy;
}

}  // namespace

Parameters readParameters(const std::string& path, std::vector<std::string>* warnings) {
  std::optional<std::vector<std::string>> lines = readFileLines(path);
  if (!lines) refuseUnopened();
  return parseParameterLines(std::move(*lines), fileNameOf(path), warnings);
}

Parameters parseParameterLines(std::vector<std::string> lines, const std::string& fileName,
                               std::vector<std::string>* warnings) {
  const ValueLines file{fileName, std::move(lines)};
  if (file.lines.size() < kLineCount) {
    refuseLine(file.fileName, file.lines.size() + 1,
               "se esperaban " + std::to_string(kLineCount) + " líneas (" +
                   std::to_string(kPairCount) +
                   " pares de etiqueta y valor), se encontró el final del archivo");
  }
  const FirstLossyRead lossy = checkValueTexts(file);

  auto number = [&file](size_t pair) { return file.value(pair).value; };
  auto flag = [&file](size_t pair) { return file.value(pair).value == 1; };
  Parameters parameters;
  parameters.populationSize = number(1);
  parameters.maxEvaluations = number(2);
  parameters.runCount = number(3);
  parameters.crossoverPercent = number(4);
  parameters.mutationPercent = number(5);
  parameters.scrambleMutationEnabled = flag(6);
  parameters.insertionMutationEnabled = flag(7);
  parameters.swapMutationEnabled = flag(8);
  parameters.neighbourSwapMutationEnabled = flag(9);
  parameters.segmentWrapCrossoverEnabled = flag(10);
  parameters.cycleCrossoverEnabled = flag(11);
  parameters.segmentFillCrossoverEnabled = flag(12);
  parameters.maskKeepCrossoverEnabled = flag(13);
  parameters.maskReorderCrossoverEnabled = flag(14);
  parameters.segmentInsertCrossoverEnabled = flag(15);
  parameters.precedenceCrossoverEnabled = flag(16);
  parameters.mateCandidates = number(17);
  parameters.crowdingGroups = number(18);
  parameters.crowdingGroupSize = number(19);

  const int population = parameters.populationSize;
  if (population < 2 || population % 2 != 0) {
    refuseLine(file.fileName, valueLineOf(1),
               "el tamaño de población debe ser par y al menos 2, se encontró " +
                   foundValue(file.value(1), file.text(1)));
  }
  // With both tests bound to fail no child is ever evaluated, so the budget is never reached.
  if (parameters.crossoverPercent < 0 && parameters.mutationPercent < 0 &&
      parameters.maxEvaluations > population) {
    refuseLine(file.fileName, valueLineOf(5),
               "el porcentaje de cruce o el de mutación debe ser al menos 0 para llegar a " +
                   std::to_string(parameters.maxEvaluations) + " evaluaciones, se encontraron " +
                   std::to_string(parameters.crossoverPercent) + " y " +
                   std::to_string(parameters.mutationPercent));
  }
  const bool anyCrossover =
      parameters.segmentWrapCrossoverEnabled || parameters.cycleCrossoverEnabled ||
      parameters.segmentFillCrossoverEnabled || parameters.maskKeepCrossoverEnabled ||
      parameters.maskReorderCrossoverEnabled || parameters.segmentInsertCrossoverEnabled ||
      parameters.precedenceCrossoverEnabled;
  if (!anyCrossover) {
    refuseLine(file.fileName, valueLineOf(10),
               "se esperaba al menos un operador de cruce activado (un 1 en las líneas pares " +
                   std::to_string(valueLineOf(10)) + " a " + std::to_string(valueLineOf(16)) +
                   "), no se encontró ninguno");
  }
  requireAtLeastOne(file, 17, "el número de candidatos a pareja");
  requireAtLeastOne(file, 18, "el número de grupos de reemplazo");
  requireAtLeastOne(file, 19, "el tamaño de grupo de reemplazo");
  const std::int64_t groupPlaces =
      std::int64_t{parameters.crowdingGroups} * parameters.crowdingGroupSize;
  if (groupPlaces > population) {
    refuseLine(file.fileName, valueLineOf(19),
               "el número de grupos de reemplazo por su tamaño debe ser como mucho el tamaño de "
               "población " +
                   std::to_string(population) + ", se encontró " +
                   std::to_string(parameters.crowdingGroups) + " × " +
                   std::to_string(parameters.crowdingGroupSize) + " = " +
                   std::to_string(groupPlaces));
  }
  lossy.passOn(warnings);
  return parameters;
}

}  // namespace jobshop
