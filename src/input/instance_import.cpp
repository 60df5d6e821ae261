// Format detection and the entry points of the import: text or a whole file to an Instance.
#include "input/instance_import.h"

#include <cerrno>
#include <cstring>
#include <optional>

#include "input/input_error.h"
#include "input/refusal_wording.h"
#include "input/standard_format.h"
#include "input/taillard_format.h"
#include "support/text_files.h"

namespace jobshop {

InstanceFormat detectInstanceFormat(const std::string& text) {
  return isTaillard(significantLines(text, "")) ? InstanceFormat::kTaillard
                                                : InstanceFormat::kStandard;
}

ImportedInstance parseInstanceText(const std::string& text, const std::string& fileName) {
  SourceText source = significantLines(text, fileName);
  return isTaillard(source) ? parseTaillard(source) : parseStandard(source);
}

ImportedInstance importInstanceFile(const std::string& path) {
  const std::optional<std::string> text = readWholeFile(path);
  if (!text) {
    const Refusal refusal{path, 0, CannotOpen{std::strerror(errno)}};
    throw InputError{inEnglish(refusal), refusal};
  }
  return parseInstanceText(*text, path);
}

}  // namespace jobshop
