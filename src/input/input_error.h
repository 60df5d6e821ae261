// The one error type of the readers: a refusal of an input file, already worded for the user
// (file, line and what was expected and found). Thrown by the readers and caught in main.
#pragma once

#include <string>

namespace jobshop {

struct InputError {
  std::string message;
  // Set when the file could not be opened or read at all; `message` then holds the fixed text
  // "No se ha podido abrir el archivo del ejemplo" rather than a refusal.
  bool cannotOpen = false;
};

}  // namespace jobshop
