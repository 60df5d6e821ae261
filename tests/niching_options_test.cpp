// The main run's niching options: what reaches the command line's settings, and every refusal.
#include <gtest/gtest.h>

#include "run/command_line.h"

namespace jobshop {

namespace {

CommandLine parsed(const std::vector<std::string>& args) { return parseCommandLine(args); }

std::string refusal(const std::vector<std::string>& args) {
  const CommandLine line = parseCommandLine(args);
  EXPECT_EQ(line.action, CommandAction::usageError);
  return line.error;
}

}  // namespace

TEST(NichingOptions, WithoutThemTheRunIsCrowdingWithNothingSet) {
  const CommandLine line = parsed({"--seed", "7"});
  ASSERT_EQ(line.action, CommandAction::run);
  EXPECT_EQ(line.niching.method, NichingMethod::crowding);
  EXPECT_FALSE(line.niching.windowSize);
  EXPECT_FALSE(line.niching.clearingRadius);
  EXPECT_EQ(line.niching.clearingCapacity, 1);
  EXPECT_FALSE(line.niching.sharingRadius);
  EXPECT_EQ(line.niching.sharingAlpha, 1.0);
}

TEST(NichingOptions, EachMethodByNameWithItsOwnSettingsInAnyOrder) {
  const std::pair<const char*, NichingMethod> methods[] = {
      {"crowding", NichingMethod::crowding},
      {"deterministic-crowding", NichingMethod::deterministicCrowding},
      {"restricted-tournament", NichingMethod::restrictedTournament},
      {"clearing", NichingMethod::clearing},
      {"sharing", NichingMethod::sharing},
      {"none", NichingMethod::none}};
  for (const auto& [name, method] : methods) {
    const CommandLine line = parsed({"--niching", name});
    ASSERT_EQ(line.action, CommandAction::run) << name << ": " << line.error;
    EXPECT_EQ(line.niching.method, method) << name;
  }
  const CommandLine window = parsed({"--window-size", "12", "--niching", "restricted-tournament"});
  ASSERT_EQ(window.action, CommandAction::run) << window.error;
  EXPECT_EQ(window.niching.windowSize, 12) << "a setting before its method is taken too";

  const CommandLine clearing =
      parsed({"--niching", "clearing", "--clearing-radius", "3", "--clearing-capacity", "2"});
  ASSERT_EQ(clearing.action, CommandAction::run) << clearing.error;
  EXPECT_EQ(clearing.niching.clearingRadius, 3);
  EXPECT_EQ(clearing.niching.clearingCapacity, 2);

  const CommandLine sharing =
      parsed({"--niching", "sharing", "--sharing-radius", "1", "--sharing-alpha", "0.5"});
  ASSERT_EQ(sharing.action, CommandAction::run) << sharing.error;
  EXPECT_EQ(sharing.niching.sharingRadius, 1);
  EXPECT_EQ(sharing.niching.sharingAlpha, 0.5);
  EXPECT_EQ(parsed({"--niching", "sharing", "--sharing-alpha", "2e1"}).niching.sharingAlpha, 20.0);
}

TEST(NichingOptions, AnUnknownMethodNamesTheValidOnesAndTheNearest) {
  EXPECT_EQ(refusal({"--niching", "clearnig"}),
            "--niching admite crowding, deterministic-crowding, restricted-tournament, clearing, "
            "sharing o none, no \"clearnig\"; ¿quería decir clearing?");
  EXPECT_EQ(refusal({"--niching", "fitness"}),
            "--niching admite crowding, deterministic-crowding, restricted-tournament, clearing, "
            "sharing o none, no \"fitness\"");
  EXPECT_EQ(refusal({"--niching"}),
            "falta el método de --niching (crowding, deterministic-crowding, "
            "restricted-tournament, clearing, sharing o none)");
  EXPECT_EQ(refusal({"--niching", "none", "--niching", "none"}),
            "--niching aparece más de una vez");
}

TEST(NichingOptions, ValuesThatAreNotNumbersOrOutOfRange) {
  const std::vector<std::pair<std::string, std::string>> wholes = {
      {"--window-size", "restricted-tournament"},
      {"--clearing-radius", "clearing"},
      {"--clearing-capacity", "clearing"},
      {"--sharing-radius", "sharing"}};
  for (const auto& [option, method] : wholes)
    for (const char* value : {"0", "-1", "abc", "2.5", "", " 3", "2147483648", "99999999999"}) {
      SCOPED_TRACE(option + " " + value);
      EXPECT_EQ(refusal({"--niching", method, option, value}),
                option + " necesita un entero de 1 en adelante, no \"" + value + "\"");
    }
  EXPECT_EQ(
      parsed({"--niching", "clearing", "--clearing-radius", "2147483647"}).niching.clearingRadius,
      2147483647)
      << "the largest int is a radius";
  for (const char* value : {"0", "-0.5", "inf", "nan", "x", "", "1,5"}) {
    SCOPED_TRACE(value);
    EXPECT_EQ(
        refusal({"--niching", "sharing", "--sharing-alpha", value}),
        std::string("--sharing-alpha necesita un número finito mayor que 0, no \"") + value + "\"");
  }
  EXPECT_EQ(refusal({"--niching", "sharing", "--sharing-alpha"}),
            "falta el valor de --sharing-alpha");
}

TEST(NichingOptions, ASettingOfAnotherMethodNamesItsOwn) {
  EXPECT_EQ(refusal({"--window-size", "5"}),
            "--window-size solo vale con --niching restricted-tournament")
      << "crowding, the default, takes none";
  EXPECT_EQ(refusal({"--niching", "sharing", "--clearing-radius", "2"}),
            "--clearing-radius solo vale con --niching clearing");
  EXPECT_EQ(refusal({"--niching", "clearing", "--clearing-capacity", "1", "--sharing-alpha", "1"}),
            "--sharing-alpha solo vale con --niching sharing")
      << "a value equal to the default is still given";
  EXPECT_EQ(refusal({"--niching", "none", "--sharing-radius", "3"}),
            "--sharing-radius solo vale con --niching sharing");
}

TEST(NichingOptions, TheHelpListsEveryMethodAndSetting) {
  const std::string help = helpText();
  for (const char* word :
       {"--niching NAME", "deterministic-crowding  ", "restricted-tournament   ", "clearing   ",
        "sharing   ", "none   ", "--window-size N", "--clearing-radius D", "--clearing-capacity K",
        "--sharing-radius D", "--sharing-alpha A"})
    EXPECT_NE(help.find(word), std::string::npos) << word;
}

}  // namespace jobshop
