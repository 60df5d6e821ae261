// The report of committed folders, byte for byte: the page, the runs CSV, the schedules CSV, the
// JSON, standard output, standard error and the exit status, so that any figure or layout that
// moves shows here (tests/golden-report/make-case records a case after a deliberate change).
#include <gtest/gtest.h>

#include <filesystem>

#include "test_instances.h"

namespace jobshop {

namespace fs = std::filesystem;

namespace {

const char* const kComparedFiles[] = {"report.html", "runs.csv",   "schedules.csv",  "report.json",
                                      "stdout.txt",  "stderr.txt", "exit_status.txt"};

// Where two texts part, as line number and both lines: a page is too long to print whole.
std::string firstDifference(const std::string& actual, const std::string& expected) {
  std::size_t start = 0;
  for (int line = 1;; ++line) {
    const std::size_t actualEnd = actual.find('\n', start);
    const std::size_t expectedEnd = expected.find('\n', start);
    const std::string a = actual.substr(start, actualEnd - start);
    const std::string e = expected.substr(start, expectedEnd - start);
    if (a != e || actualEnd != expectedEnd)
      return "line " + std::to_string(line) + ": got\n" + a.substr(0, 300) + "\nexpected\n" +
             e.substr(0, 300);
    if (actualEnd == std::string::npos) return "none";
    start = actualEnd + 1;
  }
}

void reportCase(const fs::path& folder) {
  const std::string work = makeTempFolder();
  for (const auto& entry : fs::directory_iterator(folder / "folder")) fs::copy(entry.path(), work);
  // Relative names, so that standard output does not hold the temporary folder's name.
  const std::string command = "cd '" + work + "' && " + JOBSHOP_PROGRAM +
                              " report --output report.html --csv runs.csv --schedules-csv "
                              "schedules.csv --json report.json > stdout.txt 2> stderr.txt; "
                              "echo $? > exit_status.txt";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  for (const char* name : kComparedFiles) {
    SCOPED_TRACE(folder.filename().string() + "/" + name);
    ASSERT_TRUE(fileExists(work + name));
    const std::string actual = readFile(work + name);
    const std::string expected = readFile(folder / "expected" / name);
    EXPECT_TRUE(actual == expected) << firstDifference(actual, expected);
  }
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
