// The fields of the program's own JSON files (optima.json, the count's checkpoint), read by type
// and range the way numbers read from text are: a value out of range is refused, never wrapped
// or cast into one that is in range.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

namespace jobshop {

// Why a field was refused: its name and what it should have been.
struct JsonFieldError : std::invalid_argument {
  using std::invalid_argument::invalid_argument;
};

// The whole number `name` of object, from least to most; throws JsonFieldError when it is missing,
// fractional, not a number or out of range.
std::int64_t wholeField(const nlohmann::json& object, const std::string& name, std::int64_t least,
                        std::int64_t most);

// As wholeField, for the full range of an unsigned 64-bit number.
std::uint64_t unsignedField(const nlohmann::json& object, const std::string& name);

// The finite number `name` of object; throws JsonFieldError otherwise.
double realField(const nlohmann::json& object, const std::string& name);

// The true or false `name` of object; throws JsonFieldError otherwise.
bool booleanField(const nlohmann::json& object, const std::string& name);

// The string `name` of object, "" when it has none; throws JsonFieldError when it is not a string.
std::string optionalTextField(const nlohmann::json& object, const std::string& name);

}  // namespace jobshop
