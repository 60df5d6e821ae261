// Every file a command reads, put there as something that is no plain file of a sensible size (a
// link to /dev/zero or /dev/urandom, a named pipe, a folder, a sparse file past its kind's limit):
// the command looks, says which file and why, ends as it ends for a malformed file of that name,
// and leaves every file as it found it. Each run is bounded by `timeout`, so a read that waits
// on a pipe fails the test with status 124 instead of holding it up.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "program_runner.h"
#include "support/bounded_file.h"
#include "test_instances.h"

namespace jobshop {

namespace {

namespace fs = std::filesystem;

enum class Stand { kZero, kRandom, kPipe, kFolder, kTooLarge };

const Stand kStands[] = {Stand::kZero, Stand::kRandom, Stand::kPipe, Stand::kFolder,
                         Stand::kTooLarge};

const char* nameOf(Stand stand) {
  switch (stand) {
    case Stand::kZero:
      return "a link to /dev/zero";
    case Stand::kRandom:
      return "a link to /dev/urandom";
    case Stand::kPipe:
      return "a named pipe";
    case Stand::kFolder:
      return "a folder";
    case Stand::kTooLarge:
      break;
  }
  return "a file past its limit";
}

// Replaces whatever is at path by stand; a file past limit is sparse, so no disk is used.
void putInPlace(const std::string& path, Stand stand, std::int64_t limit) {
  fs::remove_all(path);
  switch (stand) {
    case Stand::kZero:
      fs::create_symlink("/dev/zero", path);
      return;
    case Stand::kRandom:
      fs::create_symlink("/dev/urandom", path);
      return;
    case Stand::kPipe:
      ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
      return;
    case Stand::kFolder:
      fs::create_directory(path);
      return;
    case Stand::kTooLarge:
      break;
  }
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(limit + 1)), 0);
  ::close(fd);
}

// What the English refusals say of each stand.
const char* englishReason(Stand stand) {
  switch (stand) {
    case Stand::kZero:
    case Stand::kRandom:
      return "a character device, not a regular file";
    case Stand::kPipe:
      return "a named pipe, not a regular file";
    case Stand::kFolder:
      return "a folder, not a regular file";
    case Stand::kTooLarge:
      break;
  }
  return " bytes, more than the ";
}

// Each entry of folder as its kind and, for a regular file, its size and (when small) its bytes,
// looked at without opening anything but small regular files.
std::map<std::string, std::vector<std::string>> snapshot(const std::string& folder) {
  std::map<std::string, std::vector<std::string>> entries;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const fs::path& path = entry.path();
    const fs::file_status status = fs::symlink_status(path);
    std::vector<std::string> seen{std::to_string(static_cast<int>(status.type()))};
    if (fs::is_symlink(status)) seen.push_back(fs::read_symlink(path).string());
    if (fs::is_regular_file(status)) {
      const auto size = fs::file_size(path);
      seen.push_back(std::to_string(size));
      if (size < (1u << 20)) seen.push_back(readFile(path.string()));
    }
    entries[path.string()] = seen;
  }
  return entries;
}

// A folder the program has run in: the 2 × 3 example, its results and record, and an exact count
// with its list, an instance to import and a campaign folder; made once, copied for each case.
const std::string& fixture() {
  static const std::string folder = [] {
    const std::string made = makeTempFolder();
    writeFile(made + "D_Entrada.txt", "2\n3\n10\n3 2 4\n2 5 1\n1 2 3\n3 1 2\n");
    fs::copy_file(std::string(JOBSHOP_SOURCE_DIR) + "/examples/ft06/D_Algoritmo.txt",
                  made + "D_Algoritmo.txt");
    const Captured run = runProgramIn(made, "--seed 7");
    EXPECT_EQ(run.status, 0) << run.err;
    const Captured count = runProgramIn(made, "optima --list optima-list.txt");
    EXPECT_EQ(count.status, 0) << count.err;
    writeFile(made + "optima-checkpoint.json", "{}\n");
    fs::create_directory(made + "campaign");  // a manifest goes in, case by case
    writeFile(made + "source.txt", "2 3\n1 3 2 2 3 4\n3 2 1 5 2 1\n");
    return made;
  }();
  return folder;
}

std::string copyOfFixture() {
  const std::string copy = makeTempFolder();
  fs::copy(fixture(), copy, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  return copy;
}

struct ReadFile {
  const char* file;       // in the folder
  const char* arguments;  // of the command that reads it
  std::int64_t limit;
  const char* malformed;   // text the command refuses or sets aside in the same way
  bool reasonSaid = true;  // the message names why, not only which file
};

Captured runBounded(const std::string& folder, const std::string& arguments) {
  return shell("cd '" + folder + "' && timeout 20 " + std::string(JOBSHOP_PROGRAM) + " " +
               arguments + " < /dev/null");
}

void expectLookedAtOnly(const ReadFile& read) {
  const std::string baselineFolder = copyOfFixture();
  writeFile(baselineFolder + read.file, read.malformed);
  const Captured baseline = runBounded(baselineFolder, read.arguments);
  fs::remove_all(baselineFolder);
  for (const Stand stand : kStands) {
    SCOPED_TRACE(std::string(read.file) + " as " + nameOf(stand) + ", by `" + read.arguments + "`");
    const std::string folder = copyOfFixture();
    putInPlace(folder + read.file, stand, read.limit);
    const auto before = snapshot(folder);
    const Captured refused = runBounded(folder, read.arguments);
    const std::string said = refused.out + refused.err;
    EXPECT_NE(refused.status, 124) << "waited";
    EXPECT_GE(refused.status, 0) << "ended by a signal";
    EXPECT_EQ(refused.status, baseline.status) << said;
    EXPECT_NE(said.find(read.file), std::string::npos) << said;
    if (read.reasonSaid) {
      EXPECT_NE(said.find(englishReason(stand)), std::string::npos) << said;
    }
    // Outputs aside (the page the report writes), nothing that was there changed.
    auto after = snapshot(folder);
    for (const auto& [path, seen] : before) EXPECT_EQ(after[path], seen) << path;
    fs::remove_all(folder);
  }
}

}  // namespace

// The two files of the main run, from every command that reads them, in Spanish, byte for byte.
TEST(InputFileKinds, TheMainRunRefusesItsInputsAfterALook) {
  for (const char* file : {"D_Entrada.txt", "D_Algoritmo.txt"}) {
    for (const Stand stand : kStands) {
      SCOPED_TRACE(std::string(file) + " as " + nameOf(stand));
      const std::string folder = copyOfFixture();
      putInPlace(folder + file, stand, kMaxInputFileBytes);
      const auto before = snapshot(folder);
      const Captured refused = runBounded(folder, "--seed 7");
      const std::string kinds[] = {"un dispositivo de caracteres", "un dispositivo de caracteres",
                                   "una tubería con nombre", "una carpeta"};
      const std::string expected =
          stand == Stand::kTooLarge
              ? std::string(file) +
                    ": 16777217 bytes, más de los 16777216 (16 MiB) que se leen de este archivo\n"
              : std::string(file) + ": no es un archivo normal sino " +
                    kinds[static_cast<int>(stand)] + "; no se lee\n";
      EXPECT_EQ(refused.status, 1);
      EXPECT_EQ(refused.out, "");
      EXPECT_EQ(refused.err, expected);
      EXPECT_EQ(snapshot(folder), before);
      fs::remove_all(folder);
    }
  }
}

TEST(InputFileKinds, TheReportLooksAtEveryFileItReads) {
  const ReadFile reads[] = {
      {"D_Entrada.txt", "report --output page.html", kMaxInputFileBytes, "x\n", false},
      {"D_Sal_Mejores.txt", "report --output page.html", kMaxResultFileBytes, "x\n"},
      {"D_Sal_Optimos.txt", "report --output page.html", kMaxResultFileBytes, "x\n"},
      {"D_Sal_NumOptimos.txt", "report --output page.html", kMaxResultFileBytes, "x\n"},
      {"D_Sal_Distancias.txt", "report --output page.html", kMaxResultFileBytes, "x\n"},
      {"D_Sal_Soluciones.txt", "report --output page.html", kMaxResultFileBytes, "x\n"},
      {"D_Sal_Traza.txt", "report --output page.html", kMaxResultFileBytes, "x\n"},
      {"executions.jsonl", "report --output page.html", kMaxRecordFileBytes, "{\n"},
      {"optima.json", "report --output page.html", kMaxRecordFileBytes, "{\n"},
      {"optima-list.txt", "report --output page.html", kMaxResultFileBytes, "x\n"},
  };
  for (const ReadFile& read : reads) expectLookedAtOnly(read);
}

TEST(InputFileKinds, TheCountLooksAtEveryFileItReads) {
  const ReadFile reads[] = {
      {"D_Entrada.txt", "optima", kMaxInputFileBytes, "x\n", false},
      {"optima-checkpoint.json", "optima --resume", kMaxRecordFileBytes, "{\n"},
  };
  for (const ReadFile& read : reads) expectLookedAtOnly(read);
}

TEST(InputFileKinds, TheCampaignStatusLooksAtItsManifest) {
  expectLookedAtOnly(
      {"campaign/manifest.tsv", "campaign status campaign", kMaxRecordFileBytes, "x\n"});
}

TEST(InputFileKinds, TheImportLooksAtItsSource) {
  expectLookedAtOnly({"source.txt", "import source.txt", kMaxInputFileBytes, "x y\n"});
}

}  // namespace jobshop
