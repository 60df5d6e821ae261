// The one set of command-line rules: the parser on its own, then every command and campaign
// subcommand held to the same rules (repeats refused, help answered, unknown options and missing
// values refused with the usage).
#include "support/option_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program_runner.h"
#include "run/campaign_command.h"
#include "run/import_command.h"
#include "run/init_command.h"
#include "run/optima_command.h"
#include "run/report_command.h"
#include "test_instances.h"

namespace jobshop {

namespace {

const CommandOptions& sampleCommand() {
  static const CommandOptions command{
      .options = {helpOption(),
                  {.name = "--quiet", .alias = "-q"},
                  {.name = "--dir", .takesValue = true, .emptyValueIsMissing = true},
                  {.name = "--name", .takesValue = true, .whenMissing = "no name"},
                  {.name = "--tag", .takesValue = true, .repeatable = true},
                  {.name = "--fast", .setting = "speed", .whenRepeated = "one speed only"},
                  {.name = "--slow", .setting = "speed", .whenRepeated = "one speed only"},
                  {.name = "--version", .alone = true}},
      .maxOperands = 1,
  };
  return command;
}

ParsedOptions parsed(const std::vector<std::string>& args) {
  return parseOptions(args, sampleCommand());
}

}  // namespace

TEST(OptionParser, ValuesSwitchesAndOperandsInOrder) {
  const ParsedOptions options =
      parsed({"-q", "--dir", "--quiet", "file", "--tag", "a", "--tag", "b"});
  EXPECT_EQ(options.refusal, "");
  ASSERT_EQ(options.given.size(), 4u);
  EXPECT_EQ(options.given[0].name, "--quiet") << "an alias is recorded under the option's name";
  EXPECT_EQ(options.value("--dir"), "--quiet") << "a value is the next argument, whatever it is";
  EXPECT_EQ(options.operands, std::vector<std::string>{"file"});
  EXPECT_EQ(options.value("--tag"), "a");
  EXPECT_EQ(options.given[3].value, "b") << "a repeatable option keeps every value";
  EXPECT_EQ(options.valueOr("--name", "none"), "none");
  EXPECT_FALSE(options.has("--fast"));

  const ParsedOptions afterDashes = parsed({"--", "-q"});
  EXPECT_EQ(afterDashes.refusal, "");
  EXPECT_EQ(afterDashes.operands, std::vector<std::string>{"-q"}) << "\"--\" ends the options";
  EXPECT_EQ(parsed({"-"}).operands, std::vector<std::string>{"-"}) << "\"-\" is an operand";
}

TEST(OptionParser, RefusalsNameTheArgument) {
  EXPECT_EQ(parsed({"--quiet", "-q"}).refusal, "--quiet is given more than once");
  EXPECT_EQ(parsed({"--dir", "a", "--dir", "a"}).refusal, "--dir is given more than once");
  EXPECT_EQ(parsed({"--fast", "--slow"}).refusal, "one speed only");
  EXPECT_EQ(parsed({"--dir"}).refusal, "--dir needs a value");
  EXPECT_EQ(parsed({"--dir", ""}).refusal, "--dir needs a value");
  EXPECT_EQ(parsed({"--name"}).refusal, "no name");
  EXPECT_EQ(parsed({"--name", ""}).refusal, "") << "an empty value is a value unless declared";
  EXPECT_EQ(parsed({"--bogus"}).refusal, "unknown option --bogus");
  EXPECT_EQ(parsed({"--bo\x1bgus"}).refusal, "unknown option --bo\\x1bgus")
      << "shown as printable text";
  EXPECT_EQ(parsed({"one", "two"}).refusal, "unexpected argument \"two\"");
  EXPECT_EQ(parsed({"--version", "x"}).refusal, "\"--version\" takes no other argument");
  EXPECT_EQ(parsed({"--version"}).refusal, "");

  // What came before the refused argument is kept, so that a command can tell the first fault.
  const ParsedOptions refused = parsed({"--name", "n", "--bogus", "--dir", "d"});
  ASSERT_EQ(refused.given.size(), 1u);
  EXPECT_EQ(refused.given[0].name, "--name");
}

TEST(OptionParser, HelpIsAnsweredWhateverFollows) {
  const ParsedOptions options = parsed({"--dir", "d", "-h", "--bogus", "--dir"});
  EXPECT_EQ(options.refusal, "");
  EXPECT_TRUE(options.has("--help"));
  EXPECT_EQ(parsed({"--bogus", "--help"}).refusal, "unknown option --bogus")
      << "what comes before it is still read";
}

TEST(OptionParser, NoOperandsMeansEveryWordIsUnknown) {
  const CommandOptions none{.options = {{.name = "--dir", .takesValue = true}},
                            .wording = {.unknown = "odd {}"}};
  EXPECT_EQ(parseOptions({"word"}, none).refusal, "odd word");
  EXPECT_EQ(parseOptions({"--"}, none).refusal, "odd --");
}

namespace {

struct CommandCase {
  std::string words;  // after the program's name
  int status;
  std::string errStart;  // the start of standard error
  std::string out;
};

// Every command and subcommand, each with a repeated option, an unknown one, a missing value and a
// help request.
std::vector<CommandCase> commandCases() {
  const std::string report = "jobshop-niching report: ";
  const std::string optima = "jobshop-niching optima: ";
  const std::string campaign = "jobshop-niching campaign: ";
  const std::string usage = std::string("\n") + kReportUsage + "\n";
  std::vector<CommandCase> cases{
      {"--quiet -q --seed 1", 2, "jobshop-niching: --quiet aparece más de una vez (uso: ", ""},
      {"--seed 1 --seed 1", 2, "jobshop-niching: --seed aparece más de una vez (uso: ", ""},
      {"--dir a --dir a", 2, "jobshop-niching: --dir aparece más de una vez (uso: ", ""},
      {"--clock linear --clock linear", 2,
       "jobshop-niching: solo cabe un reloj (--clock o --wall-clock) (uso: ", ""},
      {"--wall-clock --wall-clock", 2,
       "jobshop-niching: solo cabe un reloj (--clock o --wall-clock) (uso: ", ""},
      {"--record --no-record", 2,
       "jobshop-niching: solo cabe uno de --record y --no-record (uso: ", ""},
      {"--bogus", 2, "jobshop-niching: argumento desconocido \"--bogus\" (uso: ", ""},
      {"--seed", 2, "jobshop-niching: falta el valor de --seed (uso: ", ""},
      {"report --dir a --dir a", 2, report + "--dir is given more than once" + usage, ""},
      {"report --csv a.csv --csv a.csv", 2, report + "--csv is given more than once" + usage, ""},
      {"report --bogus", 2, report + "unexpected argument --bogus" + usage, ""},
      {"report --output", 2, report + "--output needs a value" + usage, ""},
      {"report --help", 0, "", std::string(kReportUsage) + "\n"},
      {"optima --optimum --optimum", 2,
       optima + "--optimum is given more than once\n" + kOptimaUsage + "\n", ""},
      {"optima --bogus", 2, optima + "unknown argument --bogus\n" + kOptimaUsage + "\n", ""},
      {"optima --limit", 2, optima + "--limit needs a value\n" + kOptimaUsage + "\n", ""},
      {"optima --help --bogus", 0, "", std::string(kOptimaUsage) + "\n"},
      {"init --force --force", 2,
       "jobshop-niching init: --force is given more than once\n" + std::string(kInitUsage), ""},
      {"init --bogus", 2, "jobshop-niching init: unexpected argument --bogus\n", ""},
      {"init --help --bogus", 0, "", std::string(kInitUsage) + "\n"},
      {"import --output a --output a f", 2,
       "jobshop-niching import: --output is given more than once\n" + std::string(kImportUsage),
       ""},
      {"import --bogus f", 2, "jobshop-niching import: unknown option --bogus\n", ""},
      {"import f --target", 2, "jobshop-niching import: --target needs a value\n", ""},
      {"import --help", 0, "", std::string(kImportUsage) + "\n"},
      {"campaign", 2, campaign + "expected plan, run, slurm, run-one, status or collect\n", ""},
      {"campaign --help", 0, "", campaignUsage() + "\n"},
  };
  struct Subcommand {
    std::string verb, repeated, valueOption, usage;  // "" when it has no such option
  };
  const std::vector<Subcommand> subcommands{
      {"plan", "--into a", "--into", kCampaignPlanUsage},
      {"run", "--jobs 1", "--jobs", kCampaignRunUsage},
      {"slurm", "--submit", "--time", kCampaignSlurmUsage},
      {"run-one", "--task 1", "--task", kCampaignRunOneUsage},
      {"status", "", "", kCampaignStatusUsage},
      {"collect", "--reports", "--csv", kCampaignCollectUsage}};
  const std::string refused = std::string("\n") + campaignUsage() + "\n";
  for (const Subcommand& s : subcommands) {
    const std::string words = "campaign " + s.verb;
    cases.push_back({words + " --help", 0, "", s.usage + "\n"});
    cases.push_back({words + " dir --help", 0, "", s.usage + "\n"});
    cases.push_back({words + " dir --bogus", 2, campaign + "unknown option --bogus" + refused, ""});
    cases.push_back({words, 2, campaign + "expected a campaign file or folder" + refused, ""});
    if (s.repeated.empty()) continue;
    const std::string option = s.repeated.substr(0, s.repeated.find(' '));
    cases.push_back({words + " dir " + s.repeated + " " + s.repeated, 2,
                     campaign + option + " is given more than once" + refused, ""});
    cases.push_back({words + " dir " + s.valueOption, 2,
                     campaign + s.valueOption + " needs a value" + refused, ""});
  }
  return cases;
}

}  // namespace

TEST(CommandOptions, EveryCommandReadsItsArgumentsByTheSameRules) {
  const std::string folder = makeTempFolder();
  for (const CommandCase& c : commandCases()) {
    SCOPED_TRACE(c.words);
    const Captured ran = runProgramIn(folder, c.words);
    EXPECT_EQ(ran.status, c.status);
    EXPECT_EQ(ran.out, c.out);
    EXPECT_EQ(ran.err.substr(0, c.errStart.size()), c.errStart);
    if (c.status == 0) {
      EXPECT_EQ(ran.err, "");
    }
  }
}

}  // namespace jobshop
