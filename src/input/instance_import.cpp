// Format detection and the entry points of the import: text or a whole file to an Instance.
#include "input/instance_import.h"

#include <optional>

#include "input/input_error.h"
#include "input/instance_reader.h"
#include "input/standard_format.h"
#include "input/taillard_format.h"
#include "support/bounded_file.h"
#include "support/printable_text.h"
#include "support/text_files.h"

namespace jobshop {

namespace {

bool isInputFile(const SourceText& source) {
  if (source.lines.empty()) return false;
  const std::vector<std::string_view>& tokens = source.lines.front().tokens;
  return tokens.size() == 1 &&
         tokens.front().find_first_not_of("+-0123456789") == std::string::npos;
}

InstanceFormat formatOf(const SourceText& source) {
  if (isInputFile(source)) return InstanceFormat::kInputFile;
  return isTaillard(source) ? InstanceFormat::kTaillard : InstanceFormat::kStandard;
}

}  // namespace

InstanceFormat detectInstanceFormat(const std::string& text) {
  return formatOf(significantLines(text, ""));
}

ImportedInstance parseInstanceText(const std::string& text, const std::string& fileName,
                                   std::vector<std::string>* warnings) {
  SourceText source = significantLines(text, fileName);
  switch (formatOf(source)) {
    case InstanceFormat::kInputFile:
      return {parseInstanceLines(splitLines(text), fileNameOf(fileName), warnings), std::nullopt,
              true};
    case InstanceFormat::kTaillard:
      return parseTaillard(source);
    case InstanceFormat::kStandard:
      break;
  }
  return parseStandard(source);
}

ImportedInstance importInstanceFile(const std::string& path, std::vector<std::string>* warnings) {
  const BoundedRead read = readBoundedFile(path, kMaxInputFileBytes);
  if (read.failure == BoundedReadFailure::kUnreadable) {
    throw InputError{printableText(path) + ": cannot open the file (" + read.problem + ")",
                     Refusal{path, 0, CannotOpen{}}};
  }
  if (!read.text) throw InputError{printableText(path) + ": " + read.problem + "; it is not read"};
  return parseInstanceText(*read.text, path, warnings);
}

}  // namespace jobshop
