// Command-line options declared as data and read by one set of rules for every command: an option
// is given at most once (unless declared repeatable), a value option takes the next argument
// whatever it looks like, anything else starting with '-' is unknown, and "--" ends the options
// of a command that takes operands. The same declarations make the command's help, so that the help
// names exactly the options the parser takes.
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
  std::string valueName{};     // the value as the help names it ("DIR"); "" for a switch
  std::string description{};   // one line of help: what the option does
};

// An argument that is not an option, as the help names and explains it.
struct OperandHelp {
  std::string name;  // "FILE"
  std::string description;
};

// The refusals of a command; "{}" stands for the argument (shown as printable text).
struct OptionWording {
  std::string unknown = "unknown option {}";
  std::string missingValue = "{} needs a value";
  std::string repeated = "{} is given more than once";
  std::string extraOperand = "unexpected argument \"{}\"";
  std::string notAlone = "\"{}\" takes no other argument";
  // Added to the refusal of an unknown argument that is close to a valid one; "{}" is that one.
  std::string suggestion = " (did you mean {}?)";
};

struct CommandOptions {
  std::vector<OptionSpec> options = {};
  std::size_t maxOperands = 0;  // arguments that are not options
  OptionWording wording = {};
  // Words valid where an unknown argument stood, besides the options (a program's subcommands),
  // offered when one of them is the nearest.
  std::vector<std::string> otherWords = {};
  std::string usage = {};    // "usage: ...", the first line of the help
  std::string purpose = {};  // what the command does, one line of help
  std::vector<OperandHelp> operandHelp = {};
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

// The usage line, the purpose, then one line per operand and per option (in declaration order)
// with its description, the descriptions lined up in one column.
std::string commandHelp(const CommandOptions& command);

ParsedOptions parseOptions(const std::vector<std::string>& args, const CommandOptions& command);

}  // namespace jobshop
