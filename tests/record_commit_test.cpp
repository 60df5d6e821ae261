// Records committed whole: one writer per folder, the journal that undoes a commit its execution
// did not finish, and a full disk or a kill that leaves no half record in any of the five files
// and no trace without its records, nor records without their trace.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <random>
#include <sstream>
#include <string>

#include "results/folder_lock.h"
#include "results/result_files.h"
#include "results/run_records.h"
#include "results/trace_file.h"
#include "sanitized_build.h"
#include "test_instances.h"
#include "test_seed.h"
#include "wait_until.h"

namespace jobshop {

namespace {

// Every run reaches a target of 1000, so that each run has a record in all but the distance file.
const char* const kEasyInstance = "2\n3\n1000\n3 2 4\n2 5 1\n1 2 3\n3 1 2\n";

std::string parameters(int population, int evaluations, int runs) {
  const int values[19] = {population, evaluations, runs, 80, 20, 1, 1, 1, 1, 1,
                          1,          1,           1,    1,  1,  1, 3, 2, 3};
  std::string text;
  for (int value : values) text += "etiqueta\n" + std::to_string(value) + "\n";
  return text;
}

std::string folderWith(const std::string& parameterText) {
  const std::string folder = makeTempFolder();
  writeFile(folder + "D_Entrada.txt", kEasyInstance);
  writeFile(folder + "D_Algoritmo.txt", parameterText);
  return folder;
}

int shell(const std::string& command) {
  const int raw = std::system(command.c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

std::string program(const std::string& folder, const std::string& arguments) {
  return std::string(JOBSHOP_PROGRAM) + " --dir '" + folder + "' " + arguments;
}

std::size_t countOf(const std::string& text, const std::string& piece) {
  std::size_t count = 0;
  for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
    ++count;
  return count;
}

// The runs of the trace: its rows of generation 0, once the header is past; -1 when the text is
// not the header followed by whole rows.
long traceRuns(const std::string& text) {
  if (text.empty()) return 0;
  if (text.rfind(kTraceHeader, 0) != 0 || text.back() != '\n') return -1;
  std::istringstream lines(text.substr(std::string(kTraceHeader).size()));
  long runs = 0;
  for (std::string line; std::getline(lines, line);) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) return -1;
    if (line.compare(tab, 3, "\t0\t") == 0) ++runs;
  }
  return runs;
}

// The number of whole runs the five files and the trace hold, or a description of how they
// disagree. With every run at the target, each run leaves one progress record (ending in an empty
// line), one line in the optima and count files, one block of solution lines (ending in an empty
// line), at most one distance line, and one block of trace rows.
struct FileRuns {
  std::size_t runs = 0;
  std::string disagreement;
};

FileRuns wholeRuns(const std::string& folder) {
  const std::string progress =
      fileExists(folder + kProgressFileName) ? readFile(folder + kProgressFileName) : "";
  const std::string optima =
      fileExists(folder + kOptimaFileName) ? readFile(folder + kOptimaFileName) : "";
  const std::string counts =
      fileExists(folder + kOptimumCountFileName) ? readFile(folder + kOptimumCountFileName) : "";
  const std::string distances =
      fileExists(folder + kDistanceFileName) ? readFile(folder + kDistanceFileName) : "";
  const std::string solutions =
      fileExists(folder + kSolutionFileName) ? readFile(folder + kSolutionFileName) : "";
  const long traced =
      traceRuns(fileExists(folder + kTraceFileName) ? readFile(folder + kTraceFileName) : "");
  FileRuns result;
  const std::size_t progressRuns = countOf(progress, "\n\n");
  result.runs = countOf(optima, "\n");
  const auto endsWhole = [](const std::string& text, const char* end) {
    return text.empty() || text.compare(text.size() - std::strlen(end), std::strlen(end), end) == 0;
  };
  if (!endsWhole(progress, "\n\n") || !endsWhole(optima, "\n") || !endsWhole(counts, "\n") ||
      !endsWhole(distances, "\n") || !endsWhole(solutions, "\n\n"))
    result.disagreement = "a file ends in a half record";
  else if (progressRuns != result.runs || countOf(counts, "\n") != result.runs ||
           countOf(solutions, "\n\n") != result.runs || countOf(distances, "\n") > result.runs)
    result.disagreement = "runs: progress " + std::to_string(progressRuns) + ", optima " +
                          std::to_string(result.runs) + ", counts " +
                          std::to_string(countOf(counts, "\n")) + ", solutions " +
                          std::to_string(countOf(solutions, "\n\n"));
  else if (traced != static_cast<long>(result.runs))
    result.disagreement = "runs: " + std::to_string(result.runs) + " in the five files, " +
                          std::to_string(traced) + " in the trace";
  return result;
}

RunRecords sampleRecords(const std::string& tag) {
  RunRecords records;
  records.text = {tag + " 0\n\n", tag + "\n", "1\n", "", tag + " 1 \n\n"};
  records.trace = "1\t0\t6\t" + tag + "\t1\t1\t1\n";
  return records;
}

void fillFolder(const std::string& folder) {
  for (const char* name : kResultFileNames)
    writeFile(folder + name, std::string("earlier ") + name);
  writeFile(folder + kTraceFileName, std::string("earlier ") + kTraceFileName);
}

}  // namespace

TEST(RecordCommit, AllFiveOrNoneAndTheOffsetsWhereTheRunStarts) {
  const std::string folder = makeTempFolder();
  fillFolder(folder);
  {
    ResultFileSet files;
    openResultFiles(files, folder);
    ASSERT_TRUE(files.progressOpen() && files.analysisOpen());
    const CommitOutcome outcome = commitRunRecords(files, sampleRecords("7.0"));
    EXPECT_EQ(outcome.failure, "");
    ASSERT_TRUE(outcome.offsets);
    for (std::size_t f = 0; f < 5; ++f) {
      const std::string before = std::string("earlier ") + kResultFileNames[f];
      EXPECT_EQ((*outcome.offsets)[f], static_cast<std::int64_t>(before.size()));
      EXPECT_EQ(readFile(folder + kResultFileNames[f]), before + sampleRecords("7.0").text[f]);
    }
    const std::string before = std::string("earlier ") + kTraceFileName;
    EXPECT_EQ(outcome.traceStart, static_cast<std::int64_t>(before.size()));
    EXPECT_EQ(readFile(folder + kTraceFileName), before + sampleRecords("7.0").trace);
  }
  EXPECT_FALSE(fileExists(folder + kJournalFileName)) << "the journal goes once the run is in";

  // The last file refuses every byte: the four written before it are cut back.
  const std::string full = makeTempFolder();
  fillFolder(full);
  std::remove((full + kSolutionFileName).c_str());
  ASSERT_EQ(symlink("/dev/full", (full + kSolutionFileName).c_str()), 0);
  ResultFileSet files;
  openResultFiles(files, full);
  const CommitOutcome outcome = commitRunRecords(files, sampleRecords("8.0"));
  EXPECT_NE(outcome.failure.find(kSolutionFileName), std::string::npos) << outcome.failure;
  EXPECT_FALSE(outcome.offsets);
  for (std::size_t f = 0; f < 4; ++f)
    EXPECT_EQ(readFile(full + kResultFileNames[f]), std::string("earlier ") + kResultFileNames[f]);
  EXPECT_FALSE(fileExists(full + kJournalFileName));

  // The trace, written last, refuses every byte: the five files are cut back with it.
  const std::string fullTrace = makeTempFolder();
  fillFolder(fullTrace);
  std::remove((fullTrace + kTraceFileName).c_str());
  ASSERT_EQ(symlink("/dev/full", (fullTrace + kTraceFileName).c_str()), 0);
  ResultFileSet traced;
  openResultFiles(traced, fullTrace);
  ASSERT_TRUE(traced.traceOpen());
  const CommitOutcome refused = commitRunRecords(traced, sampleRecords("9.0"));
  EXPECT_NE(refused.failure.find(kTraceFileName), std::string::npos) << refused.failure;
  EXPECT_FALSE(refused.offsets);
  EXPECT_FALSE(refused.traceStart);
  for (const char* name : kResultFileNames)
    EXPECT_EQ(readFile(fullTrace + name), std::string("earlier ") + name);
  EXPECT_FALSE(fileExists(fullTrace + kJournalFileName));
}

TEST(RecordCommit, AJournalLeftBehindCutsTheFilesBackOnlyWhenWhole) {
  const std::string folder = makeTempFolder();
  for (const char* name : kResultFileNames) writeFile(folder + name, "0123456789");
  writeFile(folder + kTraceFileName, "0123456789");
  writeFile(folder + kJournalFileName,
            "jobshop-niching journal 1\nD_Sal_Mejores.txt 4\nD_Sal_Optimos.txt 10\n"
            "D_Sal_NumOptimos.txt 0\nD_Sal_Distancias.txt 10\nD_Sal_Soluciones.txt 9\n"
            "D_Sal_Traza.txt 3\nend\n");
  const std::string said = recoverUnfinishedCommit(folder);
  EXPECT_NE(said.find("D_Sal_Traza.txt de 10 a 3 bytes"), std::string::npos) << said;
  EXPECT_EQ(readFile(folder + kTraceFileName), "012");
  EXPECT_NE(said.find("D_Sal_Mejores.txt de 10 a 4 bytes"), std::string::npos) << said;
  EXPECT_NE(said.find("D_Sal_NumOptimos.txt de 10 a 0 bytes"), std::string::npos) << said;
  EXPECT_EQ(said.find("D_Sal_Optimos.txt"), std::string::npos) << "already at its length";
  EXPECT_EQ(readFile(folder + kProgressFileName), "0123");
  EXPECT_EQ(readFile(folder + kOptimaFileName), "0123456789");
  EXPECT_EQ(readFile(folder + kOptimumCountFileName), "");
  EXPECT_EQ(readFile(folder + kSolutionFileName), "012345678");
  EXPECT_FALSE(fileExists(folder + kJournalFileName));
  EXPECT_EQ(recoverUnfinishedCommit(folder), "") << "nothing to undo without a journal";

  // Cut short while being written: no record had been appended yet, and a length cut in the
  // middle ("1" of "10") must not cut a file.
  for (const char* torn :
       {"jobshop-niching journal 1\nD_Sal_Mejores.txt 1", "jobshop-niching journal 1\n",
        "jobshop-niching journal 1\nD_Sal_Mejores.txt 1\nen", "",
        "something else\nD_Sal_Mejores.txt 1\nend\n"}) {
    SCOPED_TRACE(torn);
    writeFile(folder + kOptimaFileName, "0123456789");
    writeFile(folder + kJournalFileName, torn);
    EXPECT_EQ(recoverUnfinishedCommit(folder), "");
    EXPECT_EQ(readFile(folder + kOptimaFileName), "0123456789");
    EXPECT_FALSE(fileExists(folder + kJournalFileName));
  }
}

TEST(FolderLock, OneHolderAtATimeNamedToTheOthers) {
  const std::string folder = makeTempFolder();
  {
    FolderLockAttempt first = lockFolder(folder);
    ASSERT_TRUE(first.lock.held()) << first.refusal;
    const FolderLockAttempt second = lockFolder(folder);
    EXPECT_FALSE(second.lock.held());
    EXPECT_NE(second.refusal.find("proceso " + std::to_string(getpid())), std::string::npos)
        << second.refusal;
  }
  EXPECT_FALSE(fileExists(folder + kFolderLockFileName)) << "removed with the lock";
  FolderLockAttempt again = lockFolder(folder);
  EXPECT_TRUE(again.lock.held()) << again.refusal;

  // A folder that cannot hold the lock file cannot hold records either: that is told run by run.
  const FolderLockAttempt nowhere = lockFolder("/nonexistent-folder/");
  EXPECT_FALSE(nowhere.lock.held());
  EXPECT_EQ(nowhere.refusal, "");
}

TEST(FolderLock, ASecondExecutionInTheFolderIsRefusedBeforeWritingAnything) {
  // One run far too long to end by itself: it writes nothing until its end.
  const std::string folder = folderWith(parameters(20, 2000000000, 1));
  const pid_t first = fork();
  ASSERT_GE(first, 0);
  if (first == 0) {
    const std::string command = program(folder, "--quiet") + " > /dev/null 2>&1";
    execl("/bin/sh", "sh", "-c", ("exec " + command).c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  const bool held = waitUntil(
      [&] {
        return fileExists(folder + kFolderLockFileName) &&
               readFile(folder + kFolderLockFileName).rfind(std::to_string(first) + " ", 0) == 0;
      },
      std::chrono::seconds(10));
  ASSERT_TRUE(held) << "the first execution never took the folder";

  const int status = shell(program(folder, "--seed 1") + " > '" + folder + "second.out' 2> '" +
                           folder + "second.err'");
  EXPECT_EQ(status, 1);
  EXPECT_EQ(readFile(folder + "second.out"), "");
  const std::string err = readFile(folder + "second.err");
  EXPECT_NE(err.find("proceso " + std::to_string(first)), std::string::npos) << err;
  for (const char* name : kResultFileNames) EXPECT_FALSE(fileExists(folder + name)) << name;

  kill(first, SIGTERM);
  int firstStatus = 0;
  ASSERT_EQ(waitpid(first, &firstStatus, 0), first);
  EXPECT_TRUE(WIFEXITED(firstStatus) && WEXITSTATUS(firstStatus) == 143) << firstStatus;
  EXPECT_FALSE(fileExists(folder + kFolderLockFileName));
}

TEST(RecordCommit, AFullDiskLeavesWholeRecordsAndTheNextExecutionAppendsCleanly) {
  // Limits that cut the files at various points of the execution's forty runs.
  for (int limit : {50, 150, 300, 500}) {
    SCOPED_TRACE(limit);
    const std::string folder = folderWith(parameters(6, 60, 40));
    const int status =
        shell("prlimit --fsize=" + std::to_string(limit) + " " + program(folder, "--seed 3") +
              " > /dev/null 2> '" + folder + "err.txt'");
    EXPECT_EQ(status, 1);
    EXPECT_NE(readFile(folder + "err.txt").find("No se ha podido escribir"), std::string::npos);
    const FileRuns cut = wholeRuns(folder);
    EXPECT_EQ(cut.disagreement, "");
    EXPECT_LT(cut.runs, 40u);
    EXPECT_FALSE(fileExists(folder + kJournalFileName));

    ASSERT_EQ(shell(program(folder, "--seed 4") + " > /dev/null 2>&1"), 0);
    const FileRuns after = wholeRuns(folder);
    EXPECT_EQ(after.disagreement, "");
    EXPECT_EQ(after.runs, cut.runs + 40);
  }
}

TEST(RecordCommit, AKillAtAnyWriteLeavesWholeRecordsOnceTheNextExecutionStarts) {
  SKIP_WHEN_SANITIZED();
  if (shell("strace -o /dev/null true > /dev/null 2>&1") != 0)
    GTEST_SKIP() << "strace cannot trace here (apt-get install strace)";
  // The k-th write of the execution kills it, k = 1, 2, ...: every point of every commit.
  for (int k = 1; k <= 32; ++k) {
    SCOPED_TRACE("killed at write " + std::to_string(k));
    const std::string folder = folderWith(parameters(6, 60, 3));
    ASSERT_EQ(shell(program(folder, "--seed 5 --quiet") + " > /dev/null 2>&1"), 0);
    const std::string killed =
        "strace -f -o /dev/null -e trace=write -e inject=write:signal=KILL:when=" +
        std::to_string(k) + " " + program(folder, "--seed 6 --quiet");
    shell(killed + " > /dev/null 2>&1");
    ASSERT_EQ(
        shell(program(folder, "--seed 7 --quiet") + " > /dev/null 2> '" + folder + "err.txt'"), 0);
    const FileRuns runs = wholeRuns(folder);
    EXPECT_EQ(runs.disagreement, "");
    // The killed execution's runs committed before the kill stay: 3 + (0..3) + 3.
    EXPECT_GE(runs.runs, 6u);
    EXPECT_LE(runs.runs, 9u);
    EXPECT_FALSE(fileExists(folder + kJournalFileName));
  }
}

TEST(RecordCommit, KillsAtRandomMomentsLeaveWholeRecords) {
  const unsigned seed = testSeed();
  std::mt19937 random(seed);
  SCOPED_TRACE(replayNote(seed));
  const std::string folder = folderWith(parameters(6, 30, 2000));
  for (int round = 0; round < 20; ++round) {
    // The kill lands once the execution has committed a drawn number of runs (none: at its start),
    // so that it falls inside the execution however loaded the machine is.
    const std::size_t runsBefore = wholeRuns(folder).runs;
    const std::size_t committed = std::uniform_int_distribution<std::size_t>(0, 6)(random);
    SCOPED_TRACE("round " + std::to_string(round) + ": killed after " + std::to_string(committed) +
                 " runs");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const std::string command = program(folder, "--quiet") + " > /dev/null 2>&1";
      execl("/bin/sh", "sh", "-c", ("exec " + command).c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    const bool reached = waitUntil(
        [&] { return countOf(readFile(folder + kOptimaFileName), "\n") >= runsBefore + committed; },
        std::chrono::seconds(30));
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(reached) << "the execution never committed its runs";
  }
  const FileRuns killed = wholeRuns(folder);
  std::printf("seed %u: %zu runs after the kills %s\n", seed, killed.runs,
              killed.disagreement.c_str());
  ASSERT_EQ(shell(program(folder, "--quiet") + " > /dev/null 2>&1 < /dev/null"), 0);
  const FileRuns runs = wholeRuns(folder);
  EXPECT_EQ(runs.disagreement, "");
  EXPECT_GE(runs.runs, 2000u);
}

}  // namespace jobshop
