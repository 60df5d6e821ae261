// The version the program names: asked of the repository at every build
// (cmake/write-version.cmake), printed by --version and written, with the commit, into every
// execution record.
#include "build_version.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <nlohmann/json.hpp>
#include <regex>

#include "program_runner.h"
#include "test_instances.h"

namespace jobshop {

namespace {

struct Stamp {
  std::string version;
  std::string commit;
};

// The value of `constant = "...";` in the header text.
std::string constantIn(const std::string& header, const std::string& constant) {
  const std::string start = constant + " = \"";
  const std::size_t from = header.find(start);
  if (from == std::string::npos) return "(missing)";
  const std::size_t end = header.find("\";", from);
  return header.substr(from + start.size(), end - from - start.size());
}

// Runs the build's script for the sources in source, writing header.
Stamp stampOf(const std::string& source, const std::string& header) {
  const Captured run =
      shell("cmake -DSOURCE_DIR='" + source + "' -DOUTPUT='" + header +
            "' -DPROJECT_VERSION=4.5.6 -P '" + JOBSHOP_SOURCE_DIR + "/cmake/write-version.cmake'");
  EXPECT_EQ(run.status, 0) << run.err;
  const std::string text = readFile(header);
  EXPECT_EQ(constantIn(text, "kProjectVersion"), "4.5.6");
  return {constantIn(text, "kBuildVersion"), constantIn(text, "kBuildCommit")};
}

std::string git(const std::string& repository, const std::string& arguments) {
  const Captured run =
      shell("cd '" + repository + "' && git -c user.name=test -c user.email=test@example.org " +
            arguments);
  EXPECT_EQ(run.status, 0) << arguments << ": " << run.err;
  std::string out = run.out;
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

}  // namespace

TEST(BuildVersion, TheProgramAndItsRecordsNameTheBuild) {
  const Captured version = shell(std::string(JOBSHOP_PROGRAM) + " --version");
  EXPECT_EQ(version.out, std::string("jobshop-niching ") + kBuildVersion + "\n");

  const std::string folder = makeTempFolder();
  writeFile(folder + "D_Entrada.txt", "2\n3\n10\n3 2 4\n2 5 1\n1 2 3\n3 1 2\n");
  writeFile(folder + "D_Algoritmo.txt",
            readFile(std::string(JOBSHOP_SOURCE_DIR) + "/examples/ft06/D_Algoritmo.txt"));
  ASSERT_EQ(runProgramIn(folder, "--seed 1 --quiet").status, 0);
  const nlohmann::json record = nlohmann::json::parse(readFile(folder + "executions.jsonl"));
  EXPECT_EQ(record["version"], kBuildVersion);
  const std::string commit = kBuildCommit;
  if (commit.empty()) {
    EXPECT_TRUE(record["commit"].is_null());
    EXPECT_EQ(std::string(kBuildVersion), kProjectVersion) << "built outside a repository";
  } else {
    EXPECT_EQ(record["commit"], commit);
    EXPECT_TRUE(std::regex_match(commit, std::regex("[0-9a-f]{40}(-dirty)?"))) << commit;
    const bool dirty = commit.ends_with("-dirty");
    EXPECT_EQ(std::string(kBuildVersion).ends_with("-dirty"), dirty) << kBuildVersion;
  }
}

TEST(BuildVersion, AskedOfTheRepositoryOrTheProjectOutsideOne) {
  const std::string header = makeTempFolder() + "build_version.h";
  const std::string plain = makeTempFolder();
  const Stamp copy = stampOf(plain, header);
  EXPECT_EQ(copy.version, "4.5.6") << "a copy without .git";
  EXPECT_EQ(copy.commit, "");

  const std::string repository = makeTempFolder();
  git(repository, "init -q");
  writeFile(repository + "a.txt", "one\n");
  git(repository, "add a.txt");
  git(repository, "commit -q -m first");
  const std::string head = git(repository, "rev-parse HEAD");
  Stamp clean = stampOf(repository, header);
  EXPECT_EQ(clean.version, git(repository, "describe --always --dirty"));
  EXPECT_EQ(clean.commit, head);
  EXPECT_EQ(head.rfind(clean.version, 0), 0u) << "no tag: the abbreviated hash";

  writeFile(repository + "untracked.txt", "x\n");
  EXPECT_EQ(stampOf(repository, header).version, clean.version) << "untracked files do not count";
  writeFile(repository + "a.txt", "two\n");
  const Stamp dirty = stampOf(repository, header);
  EXPECT_EQ(dirty.version, git(repository, "describe --always --dirty"));
  EXPECT_EQ(dirty.version, clean.version + "-dirty");
  EXPECT_EQ(dirty.commit, head + "-dirty");

  git(repository, "commit -q -a -m second");
  git(repository, "tag -a v2.5 -m release");
  EXPECT_EQ(stampOf(repository, header).version, "v2.5");

  // Sources unpacked somewhere inside another repository are not that repository's.
  ASSERT_EQ(mkdir((repository + "copy").c_str(), 0755), 0);
  EXPECT_EQ(stampOf(repository + "copy", header).version, "4.5.6");
}

TEST(BuildVersion, AnUnchangedVersionLeavesTheHeaderAlone) {
  const std::string header = makeTempFolder() + "build_version.h";
  const std::string plain = makeTempFolder();
  stampOf(plain, header);
  const std::string text = readFile(header);
  // Set far back, so that a rewrite would show whatever the clock's resolution.
  const utimbuf old{946684800, 946684800};
  ASSERT_EQ(utime(header.c_str(), &old), 0);
  stampOf(plain, header);
  struct stat status {};
  ASSERT_EQ(stat(header.c_str(), &status), 0);
  EXPECT_EQ(status.st_mtime, 946684800) << "rewritten with the same text";
  EXPECT_EQ(readFile(header), text);
}

}  // namespace jobshop
