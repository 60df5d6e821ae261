// The report with a backbone in optima.json: the cells it shades are those every enumerated
// schedule shares, read off the list itself, with the legend and the backbone's size; the page
// of the same folder without one shades nothing (the golden pages hold that byte for byte).
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "program_runner.h"
#include "results/optima_backbone.h"
#include "results/optima_file.h"
#include "test_instances.h"

namespace jobshop {

namespace {

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

// The ft06 case of the golden pages: three runs, seven distinct optima, the list of all 53.
std::string listedFt06Folder() {
  const std::string folder = makeTempFolder();
  const std::string source =
      std::string(JOBSHOP_SOURCE_DIR) + "/tests/golden-report/ft06-listed-repeats/folder/";
  for (const auto& entry : std::filesystem::directory_iterator(source))
    std::filesystem::copy_file(entry.path(), folder + entry.path().filename().string());
  return folder;
}

}  // namespace

TEST(ReportBackbone, ShadesTheCellsEveryListedScheduleShares) {
  const std::string folder = listedFt06Folder();
  const Captured counted =
      runProgramIn(folder, "optima --optimum --backbone --list optima.txt --threads 1");
  ASSERT_EQ(counted.status, 0) << counted.err;
  const OptimaInFolder optima = loadEnumeratedOptima(folder);
  ASSERT_TRUE(optima && *optima && (*optima)->backbone);
  const EnumeratedOptima& read = **optima;
  // The oracle: the backbone of the list's own 53 schedules.
  ASSERT_EQ(*read.backbone, backboneOfSchedules(read.schedules, 6, 6));

  const Captured report = runProgramIn(folder, "report --output report.html");
  ASSERT_EQ(report.status, 0) << report.err;
  const std::string page = readFile(folder + "report.html");
  const std::string pairs = std::to_string(read.backbone->pairs());
  EXPECT_NE(page.find("All of them put " + pairs +
                      " of the 90 pairs of jobs on a machine in the same order (the backbone, "),
            std::string::npos);
  // The distinct schedules' table shades, row by row, the cells backboneCells finds.
  const std::string recorded = readFile(folder + "D_Sal_Soluciones.txt");
  std::size_t expected = 0;
  std::set<std::vector<int>> distinct;
  for (std::size_t start = 0; start < recorded.size();) {
    const std::size_t end = recorded.find('\n', start);
    const std::string line = recorded.substr(start, end - start);
    start = end + 1;
    std::vector<int> numbers;
    for (std::size_t at = 0; at < line.size();) {
      const std::size_t space = line.find(' ', at);
      numbers.push_back(std::stoi(line.substr(at, space - at)));
      at = space + 1;
    }
    if (numbers.size() != 37) continue;
    numbers.pop_back();
    if (!distinct.insert(numbers).second) continue;
    for (bool shaded : backboneCells(numbers, 6, *read.backbone)) expected += shaded ? 1 : 0;
  }
  EXPECT_EQ(distinct.size(), 7u);
  EXPECT_GT(expected, 0u);
  const std::size_t section = page.find("<section id=\"optima-overall\"");
  ASSERT_NE(section, std::string::npos);
  const std::string overall = page.substr(section, page.find("</section>", section) - section);
  EXPECT_EQ(occurrences(overall, "<span class=\"fixed\""), expected);
  EXPECT_EQ(occurrences(overall,
                        "<p class=\"note backbone\">Shaded cells: the same in every "
                        "optimal schedule (the job has the same jobs before it"),
            1u);
}

}  // namespace jobshop
