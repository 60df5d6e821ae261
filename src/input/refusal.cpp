// Message building for refused input files.
#include "input/refusal.h"

#include <filesystem>

#include "support/printable_text.h"

namespace jobshop {

namespace {

constexpr size_t kMaxQuotedLength = 40;

}  // namespace

std::string fileNameOf(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

void refuseLine(const std::string& fileName, size_t lineNumber, const std::string& text) {
  throw InputError{fileName + ", línea " + std::to_string(lineNumber) + ": " + text};
}

void refuseOutOfRange(const std::string& fileName, size_t lineNumber, std::string_view text) {
  refuseLine(
      fileName, lineNumber,
      "se esperaba un número entero de -2147483648 a 2147483647, se encontró " + quoted(text));
}

void refuseUnopened() { throw InputError{"No se ha podido abrir el archivo del ejemplo", true}; }

std::string quoted(std::string_view text) { return quoted(text, kMaxQuotedLength); }

std::string foundValue(const DecimalValue& value, std::string_view line) {
  if (value.hasDigits) return std::to_string(value.value);
  return line.empty() ? std::string("una línea vacía") : quoted(line);
}

}  // namespace jobshop
