// A campaign's records grouped and summarised once: the settings in the order the plan first
// names them, the runs in plan order, and the problems in the order they were found.
#include "analysis/campaign_analysis.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/number_format.h"

namespace jobshop {

namespace {

ExecutionRecords unfinished(const std::string& folder) {
  ExecutionRecords records;
  const std::size_t first = folder.find('/');
  const std::size_t second = folder.find('/', first + 1);
  records.planned.folder = folder;
  records.planned.instance = folder.substr(0, first);
  records.planned.setting = folder.substr(first + 1, second - first - 1);
  records.planned.repetition = std::stoi(folder.substr(second + 1));
  return records;
}

struct GivenRun {
  double best;
  int optima;  // 0: did not reach the target
  std::optional<double> seconds;
};

ExecutionRecords finished(const std::string& folder, const std::vector<GivenRun>& runs) {
  ExecutionRecords records = unfinished(folder);
  records.finished = true;
  records.instance.emplace();
  records.instance->targetMakespan = 10;
  for (const GivenRun& given : runs) {
    RunRecord& run = records.runs.emplace_back();
    run.run = static_cast<int>(records.runs.size());
    run.best = given.best;
    run.reachedTarget = given.optima > 0;
    if (run.reachedTarget) run.distinctOptima = given.optima;
    if (!given.seconds) continue;
    run.logged.emplace();
    run.logged->run = run.run;
    run.logged->seconds = given.seconds;
  }
  return records;
}

CampaignAnalysis analysed(std::vector<ExecutionRecords> executions,
                          std::vector<InstanceEnumeration> enumerations = {},
                          std::vector<std::string> problems = {}) {
  return analyseCampaign({std::move(executions), std::move(enumerations), std::move(problems)});
}

std::vector<std::string> foldersOf(const std::vector<const CampaignExecution*>& executions) {
  std::vector<std::string> folders;
  for (const CampaignExecution* e : executions) folders.push_back(e->folder);
  return folders;
}

}  // namespace

TEST(CampaignAnalysis, SettingsInTheOrderThePlanFirstNamesThemRunsInPlanOrder) {
  // Instances and settings interleaved, as a manifest holding an earlier plan lists them.
  CampaignAnalysis analysis =
      analysed({finished("a/N1/1", {{10, 1, 1.5}, {12, 0, 2.5}}),
                finished("b/N1/1", {{10, 2, std::nullopt}}), unfinished("a/N2/1"),
                finished("a/N1/2", {{11, 3, 3.0}}), finished("a/N2/2", {})});
  ASSERT_EQ(analysis.settings.size(), 3u);
  const SettingSummary& a1 = analysis.settings[0];
  EXPECT_EQ(a1.instance + "/" + a1.setting, "a/N1");
  EXPECT_EQ(analysis.settings[1].instance + "/" + analysis.settings[1].setting, "b/N1");
  EXPECT_EQ(analysis.settings[2].instance + "/" + analysis.settings[2].setting, "a/N2");

  EXPECT_EQ(a1.planned, 2);
  EXPECT_EQ(a1.finished, 2);
  EXPECT_EQ(a1.runs, 3);
  EXPECT_EQ(a1.runsReachingTarget, 2);
  EXPECT_EQ(a1.bestMakespanPerRun, (std::vector<double>{10, 12, 11}));
  EXPECT_EQ(a1.optimaPerSuccessfulRun, (std::vector<double>{1, 3}));
  EXPECT_EQ(foldersOf(a1.executionsWithRuns), (std::vector<std::string>{"a/N1/1", "a/N1/2"}));
  // Per execution 1.5 + 2.5 = 4 and 3 seconds: 3.5 on average (by hand).
  EXPECT_EQ(a1.secondsPerExecution, 3.5);
  EXPECT_EQ(analysis.settings[1].secondsPerExecution, std::nullopt) << "a run without its time";

  const SettingSummary& a2 = analysis.settings[2];
  EXPECT_EQ(a2.planned, 2);
  EXPECT_EQ(a2.finished, 1);
  EXPECT_EQ(a2.unfinished, (std::vector<std::string>{"a/N2/1"}));
  EXPECT_EQ(a2.targetRate, std::nullopt) << "no runs, no rate";
  EXPECT_TRUE(a2.executionsWithRuns.empty()) << "nothing to link to";
  EXPECT_EQ(analysis.plannedExecutions, 5);
  EXPECT_EQ(analysis.finishedExecutions, 4);
  EXPECT_EQ(analysis.unfinished, (std::vector<std::string>{"a/N2/1"}));

  std::vector<std::string> runs;
  for (const CollectedRun& run : analysis.runs)
    runs.push_back(run.execution->folder + ":" + std::to_string(run.run));
  EXPECT_EQ(runs, (std::vector<std::string>{"a/N1/1:1", "a/N1/1:2", "b/N1/1:1", "a/N1/2:1"}));

  // Only a's two settings make a pair; the pair and the runs still point into the analysis once
  // it has moved.
  const CampaignAnalysis moved = std::move(analysis);
  ASSERT_EQ(moved.comparisons.size(), 1u);
  EXPECT_EQ(moved.comparisons[0].a, &moved.settings[0]);
  EXPECT_EQ(moved.comparisons[0].b, &moved.settings[2]);
  EXPECT_EQ(moved.settings[0].example, &moved.executions[0]);
  EXPECT_EQ(moved.runs[3].execution, &moved.executions[3]);
}

TEST(CampaignAnalysis, TheTablesPercentRoundsFromTheCountsThePagesShareDoesNot) {
  // 23 of 40 is 57.5 %: 100 * 23 / 40 is exactly 57.5, printed "58" (half to even), while
  // 23 / 40 = 0.57499999999999995559 in a double makes 100 times it print "57". The table on
  // standard output and the page have always said these; each keeps its own.
  std::vector<GivenRun> runs(40, GivenRun{12, 0, std::nullopt});
  for (int k = 0; k < 23; ++k) runs[static_cast<std::size_t>(k)].optima = 1;
  const CampaignAnalysis analysis = analysed({finished("a/N1/1", runs)});
  const SettingSummary& s = analysis.settings[0];
  EXPECT_EQ(s.targetRate, 23.0 / 40);
  EXPECT_EQ(fixedNumber(*s.targetPercent, 0), "58");
  EXPECT_EQ(fixedNumber(100 * *s.targetRate, 0), "57");
}

TEST(CampaignAnalysis, ProblemsInTheOrderTheyWereFound) {
  EnumeratedOptima counted;
  counted.count = 53;
  counted.complete = false;
  const CampaignAnalysis analysis =
      analysed({unfinished("a/N1/1"), finished("b/N1/1", {{10, 1, std::nullopt}}),
                unfinished("a/N2/1"), unfinished("c/N1/1")},
               {{"a", std::nullopt, "optima.json: unreadable"},
                {"b", std::nullopt, "optima.json: no list"},
                {"c", counted, ""}},
               {"a/N1/1: D_Entrada.txt: unreadable"});
  // What reading found first, then what each instance's enumeration says at its first setting.
  EXPECT_EQ(analysis.problems,
            (std::vector<std::string>{"a/N1/1: D_Entrada.txt: unreadable",
                                      "a: optima.json: unreadable", "b: optima.json: no list"}));
  const SettingSummary& c = analysis.settings[3];
  EXPECT_EQ(c.enumeratedOptima, 53);
  EXPECT_FALSE(c.enumerationComplete);
  EXPECT_EQ(c.foundOfEnumerated, std::nullopt) << "a count cut short has no list to match";
}

}  // namespace jobshop
