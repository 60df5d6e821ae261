// Building refusals from what the readers found, and throwing them.
#include "input/refusal.h"

#include <filesystem>
#include <utility>

#include "input/input_error.h"
#include "input/refusal_wording.h"
#include "support/printable_text.h"

namespace jobshop {

namespace {

constexpr size_t kMaxQuotedLength = 40;

}  // namespace

void refuse(Refusal refusal) {
  std::string message = inSpanish(refusal);
  throw InputError{std::move(message), std::move(refusal)};
}

std::vector<std::string> inputFileLines(const std::string& path) {
  BoundedRead read = readBoundedFile(path, kMaxInputFileBytes);
  switch (read.failure) {
    case BoundedReadFailure::kNone:
      break;
    case BoundedReadFailure::kUnreadable:
      refuse({path, 0, CannotOpen{}});
    case BoundedReadFailure::kNotRegular:
      refuse({path, 0, NotRegularFile{read.kind}});
    case BoundedReadFailure::kTooLarge:
      refuse({path, 0, FileTooLarge{read.size, read.limit}});
  }
  return splitLines(*read.text);
}

std::string fileNameOf(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

std::string quoted(std::string_view text) { return quoted(text, kMaxQuotedLength); }

Found foundValue(const DecimalValue& value, std::string_view line) {
  if (value.hasDigits) return {Found::Form::kWritten, std::to_string(value.value)};
  if (line.empty()) return {Found::Form::kEmptyLine, ""};
  return {Found::Form::kWritten, quoted(line)};
}

}  // namespace jobshop
