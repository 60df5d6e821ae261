// The report of committed folders, byte for byte: the page, the runs CSV, the schedules CSV, the
// JSON, standard output, standard error and the exit status, so that any figure or layout that
// moves shows here (tests/golden-report/make-case records a case after a deliberate change).
#include <gtest/gtest.h>

#include <filesystem>

#include "golden_compare.h"
#include "test_instances.h"

namespace jobshop {

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kComparedFiles = {"report.html",    "runs.csv",   "schedules.csv",
                                                 "report.json",    "stdout.txt", "stderr.txt",
                                                 "exit_status.txt"};

void reportCase(const fs::path& folder) {
  const std::string work = makeTempFolder();
  for (const auto& entry : fs::directory_iterator(folder / "folder")) fs::copy(entry.path(), work);
  // Relative names, so that standard output does not hold the temporary folder's name.
  const std::string command = "cd '" + work + "' && " + JOBSHOP_PROGRAM +
                              " report --output report.html --csv runs.csv --schedules-csv "
                              "schedules.csv --json report.json > stdout.txt 2> stderr.txt; "
                              "echo $? > exit_status.txt";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  expectSameFiles(work, folder / "expected", kComparedFiles, folder.filename().string());
  fs::remove_all(work);
}

}  // namespace

// ft06-listed-repeats: six runs, the last three copies of the first three, one run in each three
// above the target, against a complete list of the proven optima. la02-counted: runs against a
// count without a list.
TEST(GoldenReports, EveryCaseReproducesItsOutputsByteForByte) {
  const fs::path root = fs::path(JOBSHOP_SOURCE_DIR) / "tests" / "golden-report";
  int cases = 0;
  for (const auto& entry : fs::directory_iterator(root)) {
    if (!entry.is_directory()) continue;
    reportCase(entry.path());
    ++cases;
  }
  EXPECT_GE(cases, 2);
}

}  // namespace jobshop
