// The one error type of the readers: a refusal of an input file, worded for the user, and for the
// two readers of the execution folder also the refusal itself, which other wordings start from.
// Thrown by the readers and caught where a command meets its input.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "input/refusal.h"

namespace jobshop {

struct InputError {
  explicit InputError(std::string text) : message(std::move(text)) {}
  InputError(std::string text, Refusal value)
      : message(std::move(text)), refusal(std::move(value)) {}

  std::string message;
  std::optional<Refusal> refusal;

  bool cannotOpen() const { return refusal && std::holds_alternative<CannotOpen>(refusal->detail); }
};

}  // namespace jobshop
