// Committing a run's records to the five result files through a journal of their lengths.
#include "results/result_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sstream>
#include <utility>
#include <vector>

#include "results/run_records.h"
#include "support/bounded_file.h"
#include "support/open_for_writing.h"

namespace jobshop {

namespace {

const char* const kJournalHeading = "jobshop-niching journal 1";

std::string journalPath(const std::string& folder) { return folder + kJournalFileName; }

int openForAppend(const std::string& path) {
  return openForWriting(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
}

// Every byte or an errno: a full disk may take part of the text before it refuses the rest.
int writeWhole(int descriptor, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t written = ::write(descriptor, text.data() + done, text.size() - done);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (written == 0) return ENOSPC;
    done += static_cast<std::size_t>(written);
  }
  return 0;
}

std::string failureText(const std::string& path, int reason) {
  return path + " (" + std::strerror(reason) + ")";
}

// The five files in their order, then the trace: the files a journal can name.
constexpr std::size_t kCommittedFiles = 6;
constexpr std::size_t kTraceSlot = 5;
const char* const kCommittedFileNames[kCommittedFiles] = {kProgressFileName,     kOptimaFileName,
                                                          kOptimumCountFileName, kDistanceFileName,
                                                          kSolutionFileName,     kTraceFileName};

int descriptorOf(const ResultFileSet& files, std::size_t f) {
  return f < files.descriptors.size() ? files.descriptors[f] : files.traceDescriptor;
}

int& descriptorOf(ResultFileSet& files, std::size_t f) {
  return f < files.descriptors.size() ? files.descriptors[f] : files.traceDescriptor;
}

const std::string& recordText(const RunRecords& records, std::size_t f) {
  return f < records.text.size() ? records.text[f] : records.trace;
}

using Lengths = std::array<std::int64_t, kCommittedFiles>;

std::int64_t lengthOf(int descriptor) {
  struct stat status {};
  if (descriptor >= 0 && ::fstat(descriptor, &status) == 0)
    return static_cast<std::int64_t>(status.st_size);
  return -1;
}

// Lengths of the open files; -1 where a file is not open.
Lengths lengthsOf(const ResultFileSet& files) {
  Lengths lengths{};
  for (std::size_t f = 0; f < kCommittedFiles; ++f) lengths[f] = lengthOf(descriptorOf(files, f));
  return lengths;
}

std::string journalText(const Lengths& lengths) {
  std::string text = std::string(kJournalHeading) + "\n";
  for (std::size_t f = 0; f < kCommittedFiles; ++f)
    if (lengths[f] >= 0)
      text += std::string(kCommittedFileNames[f]) + " " + std::to_string(lengths[f]) + "\n";
  return text + "end\n";
}

// 0 once the journal is wholly in the folder.
int writeJournal(const std::string& folder, const Lengths& lengths) {
  const std::string path = journalPath(folder);
  const int descriptor = openForWriting(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (descriptor < 0) return errno;
  int failure = writeWhole(descriptor, journalText(lengths));
  if (::close(descriptor) != 0 && failure == 0) failure = errno;
  if (failure != 0) ::unlink(path.c_str());
  return failure;
}

void cutBack(const ResultFileSet& files, const Lengths& lengths) {
  for (std::size_t f = 0; f < kCommittedFiles; ++f)
    if (lengths[f] >= 0)
      (void)!::truncate((files.folder + kCommittedFileNames[f]).c_str(),
                        static_cast<off_t>(lengths[f]));
}

void closeAll(ResultFileSet& files, int& failure, std::string& failedPath) {
  for (std::size_t f = 0; f < kCommittedFiles; ++f) {
    int& descriptor = descriptorOf(files, f);
    if (descriptor < 0) continue;
    if (::close(descriptor) != 0 && failure == 0) {
      failure = errno;
      failedPath = files.folder + kCommittedFileNames[f];
    }
    descriptor = -1;
  }
}

}  // namespace

ResultFileSet::~ResultFileSet() {
  for (std::size_t f = 0; f < kCommittedFiles; ++f) {
    int& descriptor = descriptorOf(*this, f);
    if (descriptor >= 0) {
      ::close(descriptor);
      descriptor = -1;
    }
  }
}

bool ResultFileSet::analysisOpen() const {
  for (std::size_t f = kOptimaFile; f <= kSolutionFile; ++f)
    if (descriptors[f] < 0) return false;
  return true;
}

void openResultFiles(ResultFileSet& files, const std::string& folder) {
  files.folder = folder;
  files.descriptors[kProgressFile] = openForAppend(folder + kProgressFileName);
  for (std::size_t f = kOptimaFile; f <= kSolutionFile; ++f) {
    files.descriptors[f] = openForAppend(folder + kResultFileNames[f]);
    if (files.descriptors[f] >= 0) continue;
    for (std::size_t opened = kOptimaFile; opened < f; ++opened) {
      ::close(files.descriptors[opened]);
      files.descriptors[opened] = -1;
    }
    break;
  }
  files.traceDescriptor = openForAppend(folder + kTraceFileName);
}

std::int64_t traceLength(const ResultFileSet& files) {
  return std::max<std::int64_t>(0, lengthOf(files.traceDescriptor));
}

CommitOutcome commitRunRecords(ResultFileSet& files, const RunRecords& records) {
  CommitOutcome outcome;
  const Lengths lengths = lengthsOf(files);
  int failure = writeJournal(files.folder, lengths);
  std::string failedPath = journalPath(files.folder);
  for (std::size_t f = 0; f < kCommittedFiles && failure == 0; ++f) {
    if (descriptorOf(files, f) < 0) continue;
    failure = writeWhole(descriptorOf(files, f), recordText(records, f));
    if (failure != 0) failedPath = files.folder + kCommittedFileNames[f];
  }
  const bool journalWritten = failure == 0 || failedPath != journalPath(files.folder);
  closeAll(files, failure, failedPath);
  if (failure != 0) {
    cutBack(files, lengths);
    outcome.failure = failureText(failedPath, failure);
  } else {
    bool allOpen = true;
    for (std::size_t f = 0; f < 5; ++f) allOpen = allOpen && lengths[f] >= 0;
    if (allOpen)
      outcome.offsets =
          std::array<std::int64_t, 5>{lengths[0], lengths[1], lengths[2], lengths[3], lengths[4]};
    if (lengths[kTraceSlot] >= 0) outcome.traceStart = lengths[kTraceSlot];
  }
  if (journalWritten) ::unlink(journalPath(files.folder).c_str());
  return outcome;
}

std::string recoverUnfinishedCommit(const std::string& folder) {
  const std::string path = journalPath(folder);
  // A journal is a few lines: anything else standing there is no journal of this program's.
  const BoundedRead journal = readBoundedFile(path, kMaxMarkerFileBytes);
  if (journal.failure == BoundedReadFailure::kUnreadable) return "";
  const std::string text = journal.text.value_or("");

  // Nothing is cut unless the journal is whole: one cut short was being written when its
  // execution died, before any record had been appended.
  std::istringstream lines(text);
  std::string heading;
  std::getline(lines, heading);
  std::vector<std::pair<std::string, long long>> entries;
  bool complete = heading == kJournalHeading;
  for (std::string line; complete && std::getline(lines, line);) {
    if (line == "end") break;
    std::istringstream fields(line);
    std::string name;
    long long length = -1;
    fields >> name >> length;
    bool known = false;
    for (const char* fileName : kCommittedFileNames) known = known || name == fileName;
    complete = known && length >= 0;
    entries.emplace_back(name, length);
  }
  complete = complete && text.size() >= 4 && text.compare(text.size() - 4, 4, "end\n") == 0;
  std::string report;
  for (const auto& [name, length] : complete ? entries : decltype(entries){}) {
    const std::string file = folder + name;
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0 || status.st_size <= length) continue;
    if (::truncate(file.c_str(), static_cast<off_t>(length)) == 0)
      report += name + " de " + std::to_string(status.st_size) + " a " + std::to_string(length) +
                " bytes; ";
    else
      report += name + " no se pudo recortar (" + std::strerror(errno) + "); ";
  }
  ::unlink(path.c_str());
  if (report.empty()) return "";
  report.resize(report.size() - 2);
  return "Una ejecución anterior terminó mientras escribía los registros de una ejecución; se "
         "deshacen: " +
         report + "\n";
}

}  // namespace jobshop
