// Checking that reading an input refuses it with exactly the message a user would see.
#pragma once

#include <string>

#include "input/input_error.h"

namespace jobshop {

// The message of the InputError that read() throws, or "(not refused)" when it returns.
template <class Read>
std::string refusalOf(Read&& read) {
  try {
    read();
  } catch (const InputError& error) {
    return error.message;
  }
  return "(not refused)";
}

}  // namespace jobshop

// Expects `statement` to throw an InputError whose message is `message`.
#define EXPECT_REFUSAL(statement, message) \
  EXPECT_EQ(::jobshop::refusalOf([&] { statement; }), message)
