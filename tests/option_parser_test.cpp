// The one set of command-line rules: the parser on its own, then every command and campaign
// subcommand held to the same rules (repeats refused, help answered, unknown options and missing
// values refused with the usage).
#include "support/option_parser.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <sstream>
#include <string>
#include <utility>
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

TEST(OptionParser, AnUnknownArgumentNearAValidNameIsToldThatName) {
  EXPECT_EQ(parsed({"--dri", "d"}).refusal, "unknown option --dri (did you mean --dir?)");
  EXPECT_EQ(parsed({"--tga", "a"}).refusal, "unknown option --tga (did you mean --tag?)");
  EXPECT_EQ(parsed({"-Q"}).refusal, "unknown option -Q (did you mean -q?)") << "aliases too";
  EXPECT_EQ(parsed({"--bogus"}).refusal, "unknown option --bogus") << "nothing near";
  const CommandOptions program{
      .options = {{.name = "--seed", .takesValue = true}},
      .wording = {.unknown = "desconocido \"{}\"", .suggestion = "; ¿quería decir {}?"},
      .otherWords = {"report", "import"}};
  EXPECT_EQ(parseOptions({"reprot"}, program).refusal,
            "desconocido \"reprot\"; ¿quería decir report?")
      << "words besides the options, in the command's own wording";
  EXPECT_EQ(parseOptions({"--sed", "1"}, program).refusal,
            "desconocido \"--sed\"; ¿quería decir --seed?");
}

TEST(OptionParser, HelpIsMadeFromTheDeclarationsTheParserReads) {
  const CommandOptions command{
      .options = {helpOption(),
                  {.name = "--dir", .takesValue = true, .valueName = "DIR", .description = "where"},
                  {.name = "--quiet", .alias = "-q", .description = "no display"},
                  {.name = "--hidden"}},
      .maxOperands = 1,
      .usage = "usage: x [--dir DIR] [--quiet] FILE",
      .purpose = "Does x.",
      .operandHelp = {{"FILE", "the input"}},
  };
  EXPECT_EQ(commandHelp(command),
            "usage: x [--dir DIR] [--quiet] FILE\n"
            "Does x.\n"
            "  FILE         the input\n"
            "  --help, -h   print this help\n"
            "  --dir DIR    where\n"
            "  --quiet, -q  no display\n"
            "  --hidden\n");
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
      {"report --dri a", 2, report + "unexpected argument --dri (did you mean --dir?)" + usage, ""},
      {"optima --treads 2", 2,
       optima + "unknown argument --treads (did you mean --threads?)\n" + kOptimaUsage + "\n", ""},
      {"init --froce", 2,
       "jobshop-niching init: unexpected argument --froce (did you mean --force?)\n", ""},
      {"import --tagret 5 f", 2,
       "jobshop-niching import: unknown option --tagret (did you mean --target?)\n", ""},
      {"--sed 1", 2,
       "jobshop-niching: argumento desconocido \"--sed\"; ¿quería decir --seed? (uso: ", ""},
      {"reprot", 2,
       "jobshop-niching: argumento desconocido \"reprot\"; ¿quería decir report? (uso: ", ""},
      {"campaign colect d", 2,
       campaign + "unknown campaign command \"colect\" (did you mean collect?)\n", ""},
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
      {"campaign --help", 0, "", std::string(kCampaignPlanUsage) + "\n"},
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
    if (!s.valueOption.empty())
      cases.push_back({words + " dir " + s.valueOption.substr(0, s.valueOption.size() - 1), 2,
                       campaign + "unknown option " +
                           s.valueOption.substr(0, s.valueOption.size() - 1) + " (did you mean " +
                           s.valueOption + "?)" + refused,
                       ""});
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
    // A help begins with the usage line; what follows it is checked below.
    EXPECT_EQ(ran.out.substr(0, c.out.size()), c.out);
    EXPECT_EQ(ran.err.substr(0, c.errStart.size()), c.errStart);
    if (c.status == 0) {
      EXPECT_EQ(ran.err, "");
    }
  }
}

}  // namespace jobshop

namespace jobshop {

namespace {

// The options a usage line names ("--dir" of "[--dir DIR]").
std::vector<std::string> optionsOfUsage(const std::string& usage) {
  std::vector<std::string> names;
  for (std::size_t at = usage.find("--"); at != std::string::npos; at = usage.find("--", at)) {
    std::size_t end = at + 2;
    while (end < usage.size() &&
           (std::isalnum(static_cast<unsigned char>(usage[end])) != 0 || usage[end] == '-'))
      ++end;
    names.push_back(usage.substr(at, end - at));
    at = end;
  }
  return names;
}

}  // namespace

// Every command's --help: its usage line, what it does, then one described line per option of
// the usage line (and for --help itself), so that no option is left unexplained.
TEST(CommandOptions, EveryHelpDescribesEachOptionOfItsUsageLine) {
  const std::string folder = makeTempFolder();
  const std::vector<std::pair<std::string, std::string>> commands{
      {"report", kReportUsage},
      {"optima", kOptimaUsage},
      {"init", kInitUsage},
      {"import", kImportUsage},
      {"campaign plan", kCampaignPlanUsage},
      {"campaign run", kCampaignRunUsage},
      {"campaign slurm", kCampaignSlurmUsage},
      {"campaign run-one", kCampaignRunOneUsage},
      {"campaign status", kCampaignStatusUsage},
      {"campaign collect", kCampaignCollectUsage}};
  for (const auto& [words, usage] : commands) {
    SCOPED_TRACE(words);
    const Captured help = runProgramIn(folder, words + " --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    std::istringstream lines(help.out);
    std::string line;
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_EQ(line, usage);
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_TRUE(!line.empty() && line[0] != ' ') << "what the command does: " << line;
    std::map<std::string, std::string> described;  // option -> its description
    while (std::getline(lines, line)) {
      ASSERT_EQ(line.substr(0, 2), "  ") << line;
      const std::size_t gap = line.find("  ", 2);
      ASSERT_NE(gap, std::string::npos) << "no description: " << line;
      const std::string left = line.substr(2, gap - 2);
      const std::string description = line.substr(line.find_first_not_of(' ', gap));
      described[left.substr(0, left.find_first_of(" ,"))] = description;
    }
    EXPECT_EQ(described["--help"], "print this help");
    for (const std::string& option : optionsOfUsage(usage))
      EXPECT_GT(described[option].size(), 10u) << option << " is not described";
  }
}

// The main run's help and usage line name every command, the exact count too.
TEST(CommandOptions, TheMainHelpAndUsageLineNameEveryCommand) {
  const std::string folder = makeTempFolder();
  const Captured help = runProgramIn(folder, "--help");
  EXPECT_EQ(help.status, 0);
  const Captured refused = runProgramIn(folder, "--bogus");
  EXPECT_EQ(refused.status, 2);
  for (const char* command : {"import", "init", "report", "optima", "campaign"}) {
    EXPECT_NE(help.out.find(std::string("\n  jobshop-niching ") + command + " "), std::string::npos)
        << command;
    EXPECT_NE(refused.err.find(std::string("| ") + command + " |"), std::string::npos) << command;
  }
  const Captured campaignHelp = runProgramIn(folder, "campaign --help");
  EXPECT_EQ(campaignHelp.status, 0);
  for (const char* verb : {"plan", "run", "slurm", "run-one", "status", "collect"})
    EXPECT_NE(campaignHelp.out.find(std::string("usage: jobshop-niching campaign ") + verb + " "),
              std::string::npos)
        << verb;
}

}  // namespace jobshop
