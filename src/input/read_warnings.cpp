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

}  // namespace jobshop
