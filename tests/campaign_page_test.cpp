// The campaign page as a reader meets it: charts drawn at their own size, captions that say what
// the marks are, links only to reports that exist, and counts in the singular where they are one.
#include "report/campaign_page.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "report/enumeration_table.h"
#include "test_instances.h"

namespace jobshop {

namespace {

std::size_t occurrencesOf(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

CampaignExecution execution(const std::string& setting, int repetition) {
  CampaignExecution e;
  e.instance = "ft06";
  e.setting = setting;
  e.repetition = repetition;
  e.folder = "ft06/" + setting + "/" + std::to_string(repetition);
  e.jobs = 6;
  e.machines = 6;
  e.target = 55;
  return e;
}

// A finished execution whose runs found the given numbers of distinct optima, a run without any
// not reaching the target.
ExecutionRecords finished(const CampaignExecution& e, const std::vector<int>& optimaPerRun) {
  ExecutionRecords records;
  records.planned = e;
  records.finished = true;
  for (int optima : optimaPerRun) {
    RunRecord& run = records.runs.emplace_back();
    run.run = static_cast<int>(records.runs.size());
    run.best = 55;
    run.reachedTarget = optima > 0;
    if (run.reachedTarget) run.distinctOptima = optima;
  }
  return records;
}

CampaignAnalysis analysed(std::vector<ExecutionRecords> executions) {
  CampaignRecords records;
  records.executions = std::move(executions);
  return analyseCampaign(std::move(records));
}

}  // namespace

TEST(CampaignPage, ChartsKeepTheirSizeAndSayWhatTheirMarksAre) {
  const CampaignAnalysis collection = analysed({finished(execution("N100", 1), {1})});
  const std::string folder = makeTempFolder();
  const std::string page = campaignPage("c", collection, folder, folder + "campaign.html");
  EXPECT_EQ(occurrencesOf(page, "<svg"), 3u);
  EXPECT_EQ(occurrencesOf(page, "width=\"100%\""), 0u)
      << "a chart stretched to its card draws its text larger than the page's";
  EXPECT_NE(page.find("<p class=\"caption\">box: middle half of the runs (quartiles), line: "
                      "median; whiskers: the best and the worst run; dots: each run's best "
                      "makespan; dashed line: the target</p>"),
            std::string::npos);
  EXPECT_NE(page.find("<p class=\"caption\">bar: share of the runs that reached the target; "
                      "whisker: its 95 % Wilson interval</p>"),
            std::string::npos);
  EXPECT_NE(page.find("<p class=\"meta\">1 of 1 execution finished, 1 run.</p>"),
            std::string::npos);
  EXPECT_NE(page.find("<title>N100: 1 of 1 run</title>"), std::string::npos);
}

TEST(CampaignPage, LinksOnlyToReportsThatExist) {
  const CampaignExecution first = execution("N100", 1);
  const CampaignExecution second = execution("N100", 2);
  const CampaignAnalysis collection = analysed({finished(first, {1}), finished(second, {1})});
  const std::string folder = makeTempFolder();
  std::filesystem::create_directories(folder + first.folder);
  std::filesystem::create_directories(folder + second.folder);
  writeFile(folder + first.folder + "/report.html", "");

  const std::string page = campaignPage("c", collection, folder, folder + "campaign.html");
  EXPECT_NE(page.find("<p class=\"meta\">2 of 2 executions finished, 2 runs.</p>"),
            std::string::npos);
  EXPECT_NE(page.find("<li>N100: <a href=\"ft06/N100/1/report.html\">1</a><span "
                      "class=\"missing\">2</span></li>"),
            std::string::npos)
      << page;
  EXPECT_EQ(occurrencesOf(page, "href="), 1u);
  EXPECT_NE(page.find("The numbers without a link have no report yet: <code>jobshop-niching "
                      "campaign collect " +
                      folder + " --reports</code> writes them."),
            std::string::npos);

  // A page written elsewhere links back into the campaign folder; with every report there, no note.
  writeFile(folder + second.folder + "/report.html", "");
  const std::string elsewhere =
      campaignPage("c", collection, folder, folder + "pages/campaign.html");
  EXPECT_NE(elsewhere.find("<li>N100: <a href=\"../ft06/N100/1/report.html\">1</a><a "
                           "href=\"../ft06/N100/2/report.html\">2</a></li>"),
            std::string::npos)
      << elsewhere;
  EXPECT_EQ(elsewhere.find("no report yet"), std::string::npos);
}

TEST(CampaignPage, SettingsComparedWithTheSignificantOnesMarked) {
  CampaignAnalysis collection =
      analysed({finished(execution("N100", 1), {1, 1, 2, 2, 2, 3, 3, 4, 4, 5}),
                finished(execution("N200", 1), {1, 1, 1, 0, 0, 0, 0, 0, 0, 0}),
                finished(execution("N300", 1), std::vector<int>(10, 0))});
  // The runs record no schedules here; the union and its estimate are those of a larger campaign.
  SettingSummary& first = collection.settings[0];
  first.distinctSchedules = 14;
  first.richness = RichnessEstimates{.chao2 = 20.25, .chao2Lower = 15.5, .chao2Upper = 41};
  const std::string folder = makeTempFolder();
  const std::string page = campaignPage("c", collection, folder, folder + "campaign.html");

  EXPECT_NE(page.find("union 14 · Chao2 20.2 (15.5–41.0)"), std::string::npos)
      << "beside the setting's box";
  EXPECT_NE(page.find(">no run reached the target</text>"), std::string::npos);
  EXPECT_EQ(occurrencesOf(page, "<table class=\"settings comparisons\">"), 1u);
  // 10 of 10 against 3 of 10: Fisher p = 0.0031 (python3); second smallest of 3, so twice that
  // after Holm.
  EXPECT_NE(page.find("<td>10/10</td><td>3/10</td><td>0.003</td>"
                      "<td class=\"significant\"><strong>0.006</strong> ★</td><td>+70 pp</td>"),
            std::string::npos)
      << page;
  // 3 of 10 against 0 of 10 (p = 0.21) is no difference; no rank test without a successful run.
  EXPECT_NE(page.find("<td class=\"name\">N200</td><td class=\"name\">N300</td><td>3/10</td>"
                      "<td>0/10</td><td>0.211</td><td>0.211</td><td>+30 pp</td>"
                      "<td>–</td><td>–</td><td>–</td></tr>"),
            std::string::npos);
  EXPECT_NE(page.find("★ and bold: significant at 0.05 after Holm's adjustment over the 3 pairs "
                      "of this instance"),
            std::string::npos);
}

TEST(CampaignPage, PeakRatioAndSuccessRateOfEachSettingAgainstTheList) {
  CampaignAnalysis collection =
      analysed({finished(execution("N100", 1), {1, 2}), finished(execution("N200", 1), {2, 2})});
  // Two listed schedules: N100's runs found 1 and 2 of them, N200's both each; N300 has no list.
  collection.settings[0].againstEnumeration =
      EnumerationMeasures{.listed = 2, .found = 2, .peakRatio = 0.75, .successRate = 0.5};
  collection.settings[1].againstEnumeration =
      EnumerationMeasures{.listed = 2, .found = 2, .peakRatio = 1, .successRate = 1};
  const std::string folder = makeTempFolder();
  const std::string page = campaignPage("c", collection, folder, folder + "campaign.html");
  // (1/2 + 2/2) / 2 = 0.75 and 1 of 2 runs = 50 %, by hand.
  EXPECT_NE(page.find("<tr><td class=\"name\">N100</td><td>2 of 2</td><td>0.750</td>"
                      "<td>50 %</td></tr>"),
            std::string::npos)
      << page;
  EXPECT_NE(page.find("<tr><td class=\"name\">N200</td><td>2 of 2</td><td>1.000</td>"
                      "<td>100 %</td></tr>"),
            std::string::npos);
  EXPECT_NE(page.find("peak ratio is the share of the K that a run found, averaged over the runs"),
            std::string::npos)
      << "says what the two mean";

  SettingSummary unlisted = collection.settings[0];
  unlisted.setting = "N300";
  unlisted.againstEnumeration.reset();
  EXPECT_NE(enumerationTable({&collection.settings[0], &unlisted})
                .find("<tr><td class=\"name\">N300</td><td>–</td><td>–</td><td>–</td></tr>"),
            std::string::npos);
  EXPECT_EQ(enumerationTable({&unlisted}), "") << "no table without a list";
}

TEST(CampaignPage, AWeakEstimateIsAMutedLowerBoundAndTheUndercountIsSaidOnce) {
  CampaignAnalysis collection =
      analysed({finished(execution("N100", 1), {1, 1, 2, 2, 2, 3, 3, 4, 4, 5}),
                finished(execution("N200", 1), {1, 1, 1, 0, 0, 0, 0, 0, 0, 0}),
                finished(execution("N300", 1), std::vector<int>(10, 0))});
  // Made-up figures, as if from larger runs; the third setting stands for a second instance, so
  // that the page has two charts with estimates.
  collection.settings[0].distinctSchedules = 14;
  collection.settings[0].richness =
      RichnessEstimates{.chao2 = 70198.44, .chao2Lower = 57563, .chao2Upper = 85626.3};
  collection.settings[1].distinctSchedules = 299;
  collection.settings[1].richness = RichnessEstimates{.chao2 = 40394.94, .lowerBoundOnly = true};
  collection.settings[2].instance = "la01";
  collection.settings[2].distinctSchedules = 3;
  collection.settings[2].richness = RichnessEstimates{.chao2 = 3};
  const std::string folder = makeTempFolder();
  const std::string page = campaignPage("c", collection, folder, folder + "campaign.html");

  EXPECT_NE(page.find(">union 14 · Chao2 70,198.4 (57,563.0–85,626.3)</text>"), std::string::npos)
      << page;
  EXPECT_NE(page.find("<text class=\"tick lower-bound\""), std::string::npos);
  EXPECT_NE(page.find(">union 299 · Chao2 at least 40,394.9</text>"), std::string::npos);
  EXPECT_EQ(occurrencesOf(page, "tick lower-bound"), 1u) << "only the weak estimate is muted";
  EXPECT_EQ(occurrencesOf(page, "much harder for the runs to reach"), 1u) << "once per page";
}

}  // namespace jobshop
