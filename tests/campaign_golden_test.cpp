// The collection of committed campaign folders, byte for byte: the page, the runs CSV, the JSON,
// standard output, standard error and the exit status, so that any figure of the campaign's
// analysis or any layout of its page that moves shows here (tests/golden-campaign/make-case
// records a case after a deliberate change).
#include <gtest/gtest.h>

#include <filesystem>

#include "golden_compare.h"
#include "test_instances.h"

namespace jobshop {

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kComparedFiles = {"campaign.html", "runs.csv",   "collected.json",
                                                 "stdout.txt",    "stderr.txt", "exit_status.txt"};

void collectCase(const fs::path& folder) {
  // The page's title names the campaign's folder, so the copy has the same name as make-case's.
  const std::string work = makeTempFolder() + "campaign/";
  fs::copy(folder / "folder", work, fs::copy_options::recursive);
  // Run in the folder itself, so that standard output names no temporary folder.
  const std::string command = "cd '" + work + "' && " + JOBSHOP_PROGRAM +
                              " campaign collect . --json collected.json > stdout.txt "
                              "2> stderr.txt; echo $? > exit_status.txt";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  expectSameFiles(work, folder / "expected", kComparedFiles, folder.filename().string());
  fs::remove_all(work);
}

}  // namespace

// ft06-two-settings: populations of 50 and 100, two executions of two runs each, against the
// complete list of ft06's 53 optimal schedules, so that the page and the JSON show the coverage,
// the estimates and the comparisons of the two settings.
TEST(GoldenCampaigns, EveryCaseReproducesItsCollectionByteForByte) {
  const fs::path root = fs::path(JOBSHOP_SOURCE_DIR) / "tests" / "golden-campaign";
  int cases = 0;
  for (const auto& entry : fs::directory_iterator(root)) {
    if (!entry.is_directory()) continue;
    collectCase(entry.path());
    ++cases;
  }
  EXPECT_GE(cases, 1);
}

}  // namespace jobshop
