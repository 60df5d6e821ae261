// The one error type of the readers: a refusal of an input file, already worded for the user
// (file, line and what was expected and found). Thrown by the readers and caught in main.
#pragma once

#include <string>

struct InputError {
  std::string message;
};
