// The wording of the one warning per file about text read lossily.
#include "input/read_warnings.h"

#include "input/refusal.h"

namespace jobshop {

void FirstLossyRead::note(std::size_t lineNumber, std::string_view text,
                          const DecimalValue& value) {
  if (warning || !value.lossy) return;
  warning = fileName + ", línea " + std::to_string(lineNumber) + ": " + quoted(text) +
            " se lee como " + std::to_string(value.value);
}

void FirstLossyRead::passOn(std::vector<std::string>* warnings) const {
  if (warnings != nullptr && warning) warnings->push_back(*warning);
}

namespace {

std::string valuesFound(std::size_t found, std::size_t expected) {
  return std::to_string(found) + (found == 1 ? " valor" : " valores") +
         (expected == 1 ? " donde se esperaba " : " donde se esperaban ") +
         std::to_string(expected);
}

// Where the values of an uneven line went: the reading runs on by count, so a line whose row is
// left short goes on in the next line, a surplus past its row goes to the next line's row, and a
// line that ends its row exactly made up for the lines before.
std::string whereTheValuesWent(std::size_t lineNumber, bool longLine, std::size_t readAfter,
                               std::size_t rowEnd) {
  const std::string next = std::to_string(lineNumber + 1);
  if (readAfter < rowEnd) return "los valores siguen en la línea " + next;
  if (readAfter > rowEnd) return "el sobrante pasa a la línea " + next;
  return longLine ? "los primeros completan la fila anterior"
                  : "los que faltan vienen de la línea anterior";
}

}  // namespace

void FirstUnevenRows::note(std::size_t lineNumber, std::size_t found, std::size_t expected,
                           std::size_t readBefore, std::size_t rowStart) {
  if (found == expected) return;
  const bool isLong = found > expected;
  std::optional<std::string>& warning = isLong ? longWarning : shortWarning;
  if (warning) return;
  (isLong ? longLine : shortLine) = lineNumber;
  warning = fileName + ", línea " + std::to_string(lineNumber) + ": " +
            valuesFound(found, expected) + "; " +
            whereTheValuesWent(lineNumber, isLong, readBefore + found, rowStart + expected);
}

void FirstUnevenRows::passOn(std::vector<std::string>* warnings) const {
  if (warnings == nullptr) return;
  const bool longFirst = longLine && (!shortLine || *longLine < *shortLine);
  if (longFirst) warnings->push_back(*longWarning);
  if (shortWarning) warnings->push_back(*shortWarning);
  if (longWarning && !longFirst) warnings->push_back(*longWarning);
}

}  // namespace jobshop
