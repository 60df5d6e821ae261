// Reading a command line against the options a command declares.
#include "support/option_parser.h"

#include <algorithm>
#include <set>

#include "support/nearest_name.h"
#include "support/printable_text.h"

namespace jobshop {

namespace {

std::string filledIn(const std::string& pattern, const std::string& argument) {
  std::string text = pattern;
  const std::size_t at = text.find("{}");
  if (at != std::string::npos) text.replace(at, 2, printableText(argument));
  return text;
}

bool looksLikeOption(const std::string& arg) { return arg.size() > 1 && arg.front() == '-'; }

const OptionSpec* findOption(const CommandOptions& command, const std::string& arg) {
  for (const OptionSpec& option : command.options)
    if (arg == option.name || (!option.alias.empty() && arg == option.alias)) return &option;
  return nullptr;
}

// The refusal of an unknown argument, with the valid name it most likely misspells.
std::string unknownRefusal(const CommandOptions& command, const std::string& arg) {
  std::string refusal = filledIn(command.wording.unknown, arg);
  std::vector<std::string> names = command.otherWords;
  for (const OptionSpec& option : command.options) {
    names.push_back(option.name);
    if (!option.alias.empty()) names.push_back(option.alias);
  }
  if (const std::optional<std::string> nearest = nearestName(arg, names))
    refusal += filledIn(command.wording.suggestion, *nearest);
  return refusal;
}

std::string settingOf(const OptionSpec& option) {
  return option.setting.empty() ? option.name : option.setting;
}

class OptionReader {
 public:
  OptionReader(const std::vector<std::string>& args, const CommandOptions& command)
      : args_(args), command_(command) {}

  ParsedOptions read() {
    for (next_ = 0; next_ < args_.size() && parsed_.refusal.empty();) {
      if (!readOne()) break;
    }
    return std::move(parsed_);
  }

 private:
  // False when reading stops here.
  bool readOne() {
    const std::string& arg = args_[next_++];
    if (!onlyOperands_ && command_.maxOperands > 0 && arg == "--") {
      onlyOperands_ = true;
      return true;
    }
    const OptionSpec* option = onlyOperands_ ? nullptr : findOption(command_, arg);
    if (option != nullptr) return readOption(*option, arg);
    if (onlyOperands_ || (command_.maxOperands > 0 && !looksLikeOption(arg)))
      return readOperand(arg);
    parsed_.refusal = unknownRefusal(command_, arg);
    return false;
  }

  bool readOption(const OptionSpec& option, const std::string& arg) {
    if (option.alone && args_.size() != 1) return refuse(command_.wording.notAlone, arg);
    if (!option.repeatable && !settings_.insert(settingOf(option)).second)
      return refuse(option.whenRepeated.empty() ? command_.wording.repeated : option.whenRepeated,
                    option.name);
    GivenOption given{option.name, ""};
    if (option.takesValue) {
      const bool missing =
          next_ == args_.size() || (option.emptyValueIsMissing && args_[next_].empty());
      if (missing)
        return refuse(
            option.whenMissing.empty() ? command_.wording.missingValue : option.whenMissing,
            option.name);
      given.value = args_[next_++];
    }
    parsed_.given.push_back(std::move(given));
    return !option.endsReading;
  }

  bool readOperand(const std::string& arg) {
    if (parsed_.operands.size() == command_.maxOperands)
      return refuse(command_.wording.extraOperand, arg);
    parsed_.operands.push_back(arg);
    return true;
  }

  bool refuse(const std::string& pattern, const std::string& argument) {
    parsed_.refusal = filledIn(pattern, argument);
    return false;
  }

  const std::vector<std::string>& args_;
  const CommandOptions& command_;
  std::size_t next_ = 0;
  bool onlyOperands_ = false;
  std::set<std::string> settings_;
  ParsedOptions parsed_;
};

}  // namespace

bool ParsedOptions::has(std::string_view name) const {
  return std::any_of(given.begin(), given.end(),
                     [name](const GivenOption& option) { return option.name == name; });
}

std::optional<std::string> ParsedOptions::value(std::string_view name) const {
  for (const GivenOption& option : given)
    if (option.name == name) return option.value;
  return std::nullopt;
}

std::string ParsedOptions::valueOr(std::string_view name, const std::string& fallback) const {
  return value(name).value_or(fallback);
}

OptionSpec helpOption() {
  return {.name = "--help", .alias = "-h", .endsReading = true, .description = "print this help"};
}

std::string commandHelp(const CommandOptions& command) {
  std::vector<std::pair<std::string, std::string>> rows;
  for (const OperandHelp& operand : command.operandHelp)
    rows.emplace_back(operand.name, operand.description);
  for (const OptionSpec& option : command.options) {
    std::string left = option.name;
    if (!option.alias.empty()) left += ", " + option.alias;
    if (!option.valueName.empty()) left += " " + option.valueName;
    rows.emplace_back(left, option.description);
  }
  std::size_t width = 0;
  for (const auto& row : rows) width = std::max(width, row.first.size());
  std::string text = command.usage + "\n";
  if (!command.purpose.empty()) text += command.purpose + "\n";
  for (const auto& [left, description] : rows) {
    text += "  " + left;
    if (!description.empty()) text += std::string(width - left.size() + 2, ' ') + description;
    text += "\n";
  }
  return text;
}

ParsedOptions parseOptions(const std::vector<std::string>& args, const CommandOptions& command) {
  return OptionReader(args, command).read();
}

}  // namespace jobshop
