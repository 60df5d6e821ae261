// nlohmann's get<> converts any number to the type asked, wrapping what does not fit: each field
// is looked at as it was written before it is converted.
#include "results/json_fields.h"

#include <cmath>

#include "support/printable_text.h"

namespace jobshop {

namespace {

const nlohmann::json& fieldOf(const nlohmann::json& object, const std::string& name) {
  if (!object.is_object() || !object.contains(name)) {
    throw JsonFieldError("no \"" + name + "\"");
  }
  return object.at(name);
}

// The value as written, cut short between whole characters and with its control bytes escaped:
// a message quotes it, whatever its length and whatever a string of it holds (JSON lets DEL and
// the C1 controls stand in a string as they are).
std::string shown(const nlohmann::json& value) {
  const std::string written = value.dump();
  std::string text = printableText(written);
  if (text.size() > 40) text = printablePrefix(written, 37).text + "...";
  return text;
}

[[noreturn]] void refuseWhole(const std::string& name, const nlohmann::json& value,
                              std::int64_t least, std::int64_t most) {
  throw JsonFieldError("\"" + name + "\" is " + shown(value) + ", not a whole number from " +
                       std::to_string(least) + " to " + std::to_string(most));
}

}  // namespace

std::int64_t wholeField(const nlohmann::json& object, const std::string& name, std::int64_t least,
                        std::int64_t most) {
  const nlohmann::json& value = fieldOf(object, name);
  if (value.is_number_unsigned()) {
    const auto read = value.get<std::uint64_t>();
    if (read > static_cast<std::uint64_t>(most) || static_cast<std::int64_t>(read) < least) {
      refuseWhole(name, value, least, most);
    }
    return static_cast<std::int64_t>(read);
  }
  if (!value.is_number_integer()) refuseWhole(name, value, least, most);
  const auto read = value.get<std::int64_t>();
  if (read < least || read > most) refuseWhole(name, value, least, most);
  return read;
}

std::uint64_t unsignedField(const nlohmann::json& object, const std::string& name) {
  const nlohmann::json& value = fieldOf(object, name);
  if (!value.is_number_unsigned()) {
    throw JsonFieldError("\"" + name + "\" is " + shown(value) +
                         ", not a whole number from 0 to 18446744073709551615");
  }
  return value.get<std::uint64_t>();
}

double realField(const nlohmann::json& object, const std::string& name) {
  const nlohmann::json& value = fieldOf(object, name);
  if (!value.is_number() || !std::isfinite(value.get<double>())) {
    throw JsonFieldError("\"" + name + "\" is " + shown(value) + ", not a number");
  }
  return value.get<double>();
}

bool booleanField(const nlohmann::json& object, const std::string& name) {
  const nlohmann::json& value = fieldOf(object, name);
  if (!value.is_boolean()) {
    throw JsonFieldError("\"" + name + "\" is " + shown(value) + ", not true or false");
  }
  return value.get<bool>();
}

std::string optionalTextField(const nlohmann::json& object, const std::string& name) {
  if (!object.contains(name)) return std::string();
  const nlohmann::json& value = object.at(name);
  if (!value.is_string())
    throw JsonFieldError("\"" + name + "\" is " + shown(value) + ", not a string");
  return value.get<std::string>();
}

}  // namespace jobshop
