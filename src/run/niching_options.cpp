// Reading the niching options of the main run, worded in Spanish like its other refusals.
#include "run/niching_options.h"

#include <charconv>
#include <cstdint>

#include "input/niching_fields.h"
#include "support/nearest_name.h"
#include "support/printable_text.h"

namespace jobshop {

namespace {

const NichingField* fieldOfOption(const std::string& name) {
  for (const NichingField& field : kNichingFields)
    if (name == field.option) return &field;
  return nullptr;
}

// "a, b, c o d": the methods as a sentence lists them.
std::string methodList() {
  const std::vector<std::string> names = nichingMethodNames();
  std::string list;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) list += i + 1 == names.size() ? " o " : ", ";
    list += names[i];
  }
  return list;
}

// Digits only: a sign, spaces or a fraction are refused rather than read around.
std::optional<double> wholeValue(const std::string& text) {
  if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  return static_cast<double>(std::stoll(text));
}

std::optional<double> decimalValue(const std::string& text) {
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

MaybeFailure takeMethod(NichingSettings& settings, const std::string& text) {
  if (const std::optional<NichingMethod> method = nichingMethodNamed(text)) {
    settings.method = *method;
    return std::nullopt;
  }
  std::string why = "--niching admite " + methodList() + ", no \"" + printableText(text) + "\"";
  if (const std::optional<std::string> nearest = nearestName(text, nichingMethodNames()))
    why += "; ¿quería decir " + *nearest + "?";
  return Failure{why};
}

MaybeFailure takeSetting(NichingSettings& settings, const NichingField& field,
                         const std::string& text) {
  const std::optional<double> value = field.whole ? wholeValue(text) : decimalValue(text);
  if (!value || !acceptsValue(field, *value)) {
    const char* wanted = field.whole ? " necesita un entero de 1 en adelante"
                                     : " necesita un número finito mayor que 0";
    return Failure{std::string(field.option) + wanted + ", no \"" + printableText(text) + "\""};
  }
  setValue(settings, field.setting, *value);
  return std::nullopt;
}

}  // namespace

std::vector<OptionSpec> nichingOptionSpecs() {
  std::vector<OptionSpec> options{
      {.name = "--niching",
       .takesValue = true,
       .whenMissing = "falta el método de --niching (" + methodList() + ")"}};
  for (const NichingField& field : kNichingFields)
    options.push_back({.name = field.option,
                       .takesValue = true,
                       .whenMissing = std::string("falta el valor de ") + field.option});
  return options;
}

bool isNichingOption(const std::string& name) {
  return name == "--niching" || fieldOfOption(name) != nullptr;
}

MaybeFailure takeNichingOption(NichingSettings& settings, const GivenOption& option) {
  if (option.name == "--niching") return takeMethod(settings, option.value);
  if (const NichingField* field = fieldOfOption(option.name))
    return takeSetting(settings, *field, option.value);
  return std::nullopt;
}

MaybeFailure checkSettingsFitMethod(const NichingSettings& settings,
                                    const std::vector<GivenOption>& given) {
  for (const GivenOption& option : given) {
    const NichingField* field = fieldOfOption(option.name);
    if (field == nullptr || field->method == settings.method) continue;
    return Failure{std::string(field->option) + " solo vale con --niching " +
                   nichingMethodName(field->method)};
  }
  return std::nullopt;
}

}  // namespace jobshop
