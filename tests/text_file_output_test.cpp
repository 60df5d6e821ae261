// The whole-file writer every command writes through: a file is replaced in one step, so a write
// that fails part way (here a file-size limit set in a child process, standing in for a full
// disk) leaves the old file as it was and no temporary file beside it; and the commands that write
// through it keep their old outputs when the write fails.
#include "support/text_file_output.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "test_instances.h"

namespace jobshop {

namespace {

const std::string kSourceDir = JOBSHOP_SOURCE_DIR;
constexpr rlim_t kSizeLimit = 64;

std::vector<std::string> folderEntries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The reason of a failed write; nullopt for one that was done.
std::optional<std::string> reasonOf(const MaybeFailure& failure) {
  if (!failure) return std::nullopt;
  return failure->reason;
}

// In a child whose files may not grow past kSizeLimit bytes (SIGXFSZ ignored, so writes fail with
// EFBIG instead): the exit status is 0 when writeTextFile reported "File too large".
int writeUnderSizeLimit(const std::string& path, const std::string& text, WriteMode mode) {
  const pid_t pid = fork();
  if (pid == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{kSizeLimit, kSizeLimit};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(3);
    _exit(reasonOf(writeTextFile(path, text, mode)) == "File too large" ? 0 : 1);
  }
  int status = -1;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The program with args in folder, as a child under the same size limit; its exit status.
int programUnderSizeLimit(const std::string& folder, const std::vector<std::string>& args) {
  const pid_t pid = fork();
  if (pid == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{kSizeLimit, kSizeLimit};
    if (chdir(folder.c_str()) != 0 || setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(126);
    std::vector<char*> argv{const_cast<char*>(JOBSHOP_PROGRAM)};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    if (freopen("/dev/null", "w", stdout) == nullptr ||
        freopen("/dev/null", "w", stderr) == nullptr) {
      _exit(126);
    }
    execv(JOBSHOP_PROGRAM, argv.data());
    _exit(127);
  }
  int status = -1;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(TextFileOutput, ReplacesCreatesAndRefusesWithoutLeavingTemporaryFiles) {
  const std::string folder = makeTempFolder();
  const std::string path = folder + "out.txt";
  EXPECT_EQ(reasonOf(writeTextFile(path, "first\n", WriteMode::kCreateNew)), std::nullopt);
  EXPECT_EQ(reasonOf(writeTextFile(path, "second\n", WriteMode::kCreateNew)), "File exists");
  EXPECT_EQ(readFile(path), "first\n");
  EXPECT_EQ(reasonOf(writeTextFile(path, "third\n", WriteMode::kReplace)), std::nullopt);
  EXPECT_EQ(readFile(path), "third\n");

  // A dangling link is something not to overwrite too; a link to a file is written through.
  std::filesystem::create_symlink(folder + "nowhere", folder + "dangling");
  EXPECT_EQ(reasonOf(writeTextFile(folder + "dangling", "x", WriteMode::kCreateNew)),
            "File exists");
  EXPECT_FALSE(fileExists(folder + "nowhere"));
  std::filesystem::create_symlink("out.txt", folder + "link");
  EXPECT_EQ(reasonOf(writeTextFile(folder + "link", "through the link\n", WriteMode::kReplace)),
            std::nullopt);
  EXPECT_TRUE(std::filesystem::is_symlink(folder + "link"));
  EXPECT_EQ(readFile(path), "through the link\n");

  EXPECT_EQ(reasonOf(writeTextFile(folder + "missing/out.txt", "x", WriteMode::kReplace)),
            "No such file or directory");
  EXPECT_EQ(folderEntries(folder), (std::vector<std::string>{"dangling", "link", "out.txt"}));
}

// The streamed file (the optima list) says why it cannot start, and puts nothing in place until
// finish(): dropped on the way, it leaves the old file and no temporary file.
TEST(TextFileOutput, AStreamedFileReportsItsFailureAndReplacesOnlyWhenFinished) {
  const std::string folder = makeTempFolder();
  StreamedTextFile nowhere(folder + "missing/list.txt", WriteMode::kReplace);
  ASSERT_TRUE(nowhere.failure());
  EXPECT_EQ(nowhere.failure()->reason, "No such file or directory");
  EXPECT_EQ(reasonOf(nowhere.finish()), "No such file or directory");

  const std::string path = folder + "list.txt";
  writeFile(path, "old list\n");
  {
    StreamedTextFile dropped(path, WriteMode::kReplace);
    ASSERT_FALSE(dropped.failure());
    dropped.stream() << "half of a new list";
  }
  EXPECT_EQ(readFile(path), "old list\n");
  EXPECT_EQ(folderEntries(folder), std::vector<std::string>{"list.txt"});

  StreamedTextFile finished(path, WriteMode::kReplace);
  finished.stream() << "new list\n";
  EXPECT_EQ(readFile(path), "old list\n") << "nothing shows before finish()";
  EXPECT_EQ(reasonOf(finished.finish()), std::nullopt);
  EXPECT_EQ(readFile(path), "new list\n");
  EXPECT_EQ(reasonOf(StreamedTextFile(path, WriteMode::kCreateNew).finish()), "File exists");
  EXPECT_EQ(folderEntries(folder), std::vector<std::string>{"list.txt"});
}

TEST(TextFileOutput, AFailedWriteKeepsTheOldFileOrLeavesNone) {
  const std::string folder = makeTempFolder();
  const std::string path = folder + "report.html";
  const std::string old = "the old page\n";
  writeFile(path, old);
  const std::string large(1000, 'x');
  EXPECT_EQ(writeUnderSizeLimit(path, large, WriteMode::kReplace), 0);
  EXPECT_EQ(readFile(path), old);
  EXPECT_EQ(writeUnderSizeLimit(folder + "new.txt", large, WriteMode::kCreateNew), 0);
  EXPECT_EQ(folderEntries(folder), std::vector<std::string>{"report.html"});
  // Below the limit the same child writes.
  EXPECT_EQ(writeUnderSizeLimit(path, "small\n", WriteMode::kReplace), 1);
  EXPECT_EQ(readFile(path), "small\n");
}

TEST(TextFileOutput, CommandsKeepTheirOldOutputsWhenTheWriteFails) {
  const std::string folder = makeTempFolder();
  for (const char* name : {"D_Entrada.txt", "D_Algoritmo.txt"}) {
    std::filesystem::copy_file(kSourceDir + "/examples/ft06/" + name, folder + name);
  }
  // Small parameters so that the result files stay under the limit the commands then meet.
  const std::string parameters = readFile(folder + "D_Algoritmo.txt");
  writeFile(folder + "report.html", "old page\n");
  writeFile(folder + "runs.csv", "old table\n");
  writeFile(folder + "optima.json", "{}\n");
  writeFile(folder + "list.txt", "old list\n");
  EXPECT_EQ(programUnderSizeLimit(folder, {"report", "--csv", "runs.csv"}), 1);
  EXPECT_EQ(programUnderSizeLimit(folder, {"init", "--force"}), 1);
  EXPECT_EQ(programUnderSizeLimit(folder, {"optima", "--list", "list.txt", "--limit", "3"}), 1);
  EXPECT_EQ(readFile(folder + "report.html"), "old page\n");
  EXPECT_EQ(readFile(folder + "runs.csv"), "old table\n");
  EXPECT_EQ(readFile(folder + "D_Algoritmo.txt"), parameters);
  EXPECT_EQ(readFile(folder + "optima.json"), "{}\n");
  EXPECT_EQ(readFile(folder + "list.txt"), "old list\n");

  const std::string empty = makeTempFolder();
  EXPECT_EQ(programUnderSizeLimit(empty, {"init"}), 1);
  EXPECT_TRUE(folderEntries(empty).empty());
}

}  // namespace jobshop
