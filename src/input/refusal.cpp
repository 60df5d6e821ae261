// Message building for refused input files.
#include "input/refusal.h"

#include <filesystem>

namespace {

constexpr size_t kMaxQuotedLength = 40;

}  // namespace

std::string fileNameOf(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

void refuseLine(const std::string& fileName, size_t lineNumber, const std::string& text) {
  throw InputError{fileName + ", línea " + std::to_string(lineNumber) + ": " + text};
}

void refuseUnopened() { throw InputError{"No se ha podido abrir el archivo del ejemplo", true}; }

std::string quoted(std::string_view text) {
  size_t cut = text.size();
  if (cut > kMaxQuotedLength) {
    // Cut before a UTF-8 continuation byte so that no character is split.
    cut = kMaxQuotedLength;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  }
  std::string result(1, '"');
  result.append(text.substr(0, cut));
  if (cut < text.size()) result.append("...");
  result.push_back('"');
  return result;
}

std::string foundValue(const DecimalValue& value, std::string_view line) {
  if (value.hasDigits) return std::to_string(value.value);
  return line.empty() ? std::string("una línea vacía") : quoted(line);
}
