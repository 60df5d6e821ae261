// Command-line options declared as data and read by one set of rules for every command: an option
// is given at most once (unless declared repeatable), a value option takes the next argument
// whatever it looks like, anything else starting with '-' is unknown, and "--" ends the options
// of a command that takes operands.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jobshop {

struct OptionSpec {
  std::string name;     // "--dir"
  std::string alias{};  // "-q", or none
  bool takesValue = false;
  bool repeatable = false;
  bool emptyValueIsMissing = false;  // "" is refused like a missing value
  // Reading stops at this option and the rest is not looked at: a help request.
  bool endsReading = false;
  // Valid only as the single argument ("--version extra" is no version query).
  bool alone = false;
  // Options that set one thing share a setting: giving a second of them is a repeat. "": the name.
  std::string setting{};
  std::string whenMissing{};   // the refusal of a missing value, if not the wording's
  std::string whenRepeated{};  // the refusal of a repeat, if not the wording's
};

// The refusals of a command; "{}" stands for the argument (shown as printable text).
struct OptionWording {
  std::string unknown = "unknown option {}";
  std::string missingValue = "{} needs a value";
  std::string repeated = "{} is given more than once";
  std::string extraOperand = "unexpected argument \"{}\"";
  std::string notAlone = "\"{}\" takes no other argument";
};

struct CommandOptions {
  std::vector<OptionSpec> options = {};
  std::size_t maxOperands = 0;  // arguments that are not options
  OptionWording wording = {};
};

struct GivenOption {
  std::string name;  // as declared, also when given by its alias
  std::string value;
};

struct ParsedOptions {
  std::vector<GivenOption> given;  // in command-line order
  std::vector<std::string> operands;
  std::string refusal;  // why the arguments were refused; "" when they were not

  bool has(std::string_view name) const;
  std::optional<std::string> value(std::string_view name) const;
  std::string valueOr(std::string_view name, const std::string& fallback) const;
};

// The common help request: "--help" or "-h", answered whatever follows it.
OptionSpec helpOption();

ParsedOptions parseOptions(const std::vector<std::string>& args, const CommandOptions& command);

}  // namespace jobshop
