// The Spanish words for every refusal, as the main run has always printed them.
#include <string>

#include "input/parameter_table.h"
#include "input/refusal_wording.h"

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
      return "una línea vacía";
    case Found::Form::kEmptyField:
      return "un campo vacío (un espacio de más)";
    case Found::Form::kWritten:
      break;
  }
  return found.text;
}

std::string kindFound(FileKind kind) {
  switch (kind) {
    case FileKind::kFolder:
      return "una carpeta";
    case FileKind::kNamedPipe:
      return "una tubería con nombre";
    case FileKind::kCharacterDevice:
      return "un dispositivo de caracteres";
    case FileKind::kBlockDevice:
      return "un dispositivo de bloques";
    case FileKind::kSocket:
      return "un socket";
    case FileKind::kRegular:
    case FileKind::kOther:
      break;
  }
  return "otra cosa";
}

std::string counted(std::int64_t n, const char* singular, const char* plural) {
  return number(n) + " " + (n == 1 ? singular : plural);
}

std::string linesPhrase(std::size_t firstLine, std::size_t lastLine) {
  return lastLine == firstLine ? "la línea " + number(firstLine)
                               : "las líneas " + number(firstLine) + " a " + number(lastLine);
}

// The whole "se esperaba..." phrase, since its verb agrees with what is expected.
std::string expectation(const EndOfFile& end) {
  switch (end.expected) {
    case EndOfFile::Expected::kJobCount:
      return "se esperaba el número de trabajos";
    case EndOfFile::Expected::kMachineCount:
      return "se esperaba el número de máquinas";
    case EndOfFile::Expected::kTargetMakespan:
      return "se esperaba el makespan objetivo";
    case EndOfFile::Expected::kJobTimes:
      return "se esperaban los tiempos de proceso del trabajo " + number(end.job);
    case EndOfFile::Expected::kJobRouting:
      return "se esperaba la ruta del trabajo " + number(end.job);
    case EndOfFile::Expected::kParameterPairs:
      break;
  }
  return "se esperaban " + number(2 * kParameterFieldCount) + " líneas (" +
         number(kParameterFieldCount) + " pares de etiqueta y valor)";
}

std::string quantity(const OutOfBounds& bounds) {
  switch (bounds.quantity) {
    case OutOfBounds::Quantity::kJobCount:
      return "el número de trabajos";
    case OutOfBounds::Quantity::kMachineCount:
      return "el número de máquinas";
    case OutOfBounds::Quantity::kOperationCount:
      return "el número de operaciones (trabajos × máquinas)";
    case OutOfBounds::Quantity::kProcessingTime:
      return "el tiempo de proceso del trabajo " + number(bounds.job) + " en la máquina " +
             number(bounds.machine);
    case OutOfBounds::Quantity::kMateCandidates:
      return "el número de candidatos a pareja";
    case OutOfBounds::Quantity::kCrowdingGroups:
      return "el número de grupos de reemplazo";
    case OutOfBounds::Quantity::kCrowdingGroupSize:
      break;
  }
  return "el tamaño de grupo de reemplazo";
}

// The reason after "FILE, línea N: ".
struct SpanishReason {
  const Refusal& refusal;

  std::string operator()(const CannotOpen& /*unopened*/) const { return ""; }
  std::string operator()(const NotRegularFile& found) const {
    return "no es un archivo normal sino " + kindFound(found.kind) + "; no se lee";
  }
  std::string operator()(const FileTooLarge& large) const {
    return number(large.size) + " bytes, más de los " + number(large.limit) + " (" +
           limitText(large.limit) + ") que se leen de este archivo";
  }
  std::string operator()(const EndOfFile& end) const {
    return expectation(end) + ", se encontró el final del archivo";
  }
  std::string operator()(const OutsideIntRange& outside) const {
    return "se esperaba un número entero de -2147483648 a 2147483647, se encontró " +
           found(outside.found);
  }
  std::string operator()(const NoNumber& none) const {
    return "se esperaba un número entero, se encontró " + found(none.found);
  }
  std::string operator()(const OutOfBounds& bounds) const {
    return quantity(bounds) + (bounds.atMost ? " debe ser como mucho " : " debe ser al menos ") +
           number(bounds.bound) + ", se encontró " + found(bounds.found);
  }
  std::string operator()(const NotAPermutation& route) const {
    return "la ruta del trabajo " + number(route.job) + " no es una permutación de 1.." +
           number(route.machines) + " (la máquina " + route.machine +
           (route.repeated ? " se repite)" : " no existe)");
  }
  std::string operator()(const WrongValueCount& count) const {
    const std::int64_t expected = std::int64_t{count.jobs} * count.machines;
    return (expected == 1 ? "se esperaba " : "se esperaban ") +
           (count.routing ? counted(expected, "valor de ruta", "valores de ruta")
                          : counted(expected, "tiempo de proceso", "tiempos de proceso")) +
           " (" + counted(count.jobs, "trabajo", "trabajos") + " × " +
           counted(count.machines, "máquina", "máquinas") + ") en " +
           linesPhrase(count.firstLine, refusal.line) +
           (count.found == 1 ? ", se encontró 1" : ", se encontraron " + number(count.found));
  }
  std::string operator()(const TotalTimeTooLarge& total) const {
    return "la suma de los tiempos de proceso de " + linesPhrase(total.firstLine, refusal.line) +
           " debe ser como mucho " + number(total.bound) + ", se encontró " + number(total.found);
  }
  std::string operator()(const OddPopulation& odd) const {
    return "el tamaño de población debe ser par y al menos 2, se encontró " + found(odd.found);
  }
  std::string operator()(const NoEvaluations& none) const {
    return "el porcentaje de cruce o el de mutación debe ser al menos 0 para llegar a " +
           number(none.evaluations) + " evaluaciones, se encontraron " +
           number(none.crossoverPercent) + " y " + number(none.mutationPercent);
  }
  std::string operator()(const NoCrossover& none) const {
    return "se esperaba al menos un operador de cruce activado (un 1 en las líneas pares " +
           number(refusal.line) + " a " + number(none.lastLine) + "), no se encontró ninguno";
  }
  std::string operator()(const TooManyGroupPlaces& places) const {
    return "el número de grupos de reemplazo por su tamaño debe ser como mucho el tamaño de "
           "población " +
           number(places.population) + ", se encontró " + number(places.groups) + " × " +
           number(places.groupSize) + " = " +
           number(std::int64_t{places.groups} * places.groupSize);
  }
};

}  // namespace

std::string inSpanish(const Refusal& refusal) {
  if (std::holds_alternative<CannotOpen>(refusal.detail))
    return "No se ha podido abrir el archivo del ejemplo";
  const std::string reason = std::visit(SpanishReason{refusal}, refusal.detail);
  // A file refused whole, before any of its lines is read, has no line to name.
  if (refusal.line == 0) return refusal.file + ": " + reason;
  return refusal.file + ", línea " + number(refusal.line) + ": " + reason;
}

}  // namespace jobshop
