// What the five result files say about each run, once split into runs and aligned, together with
// every disagreement found between the files.
#include "results/result_records.h"

#include "results/execution_matching.h"
#include "results/offset_claims.h"
#include "results/result_files.h"
#include "results/run_alignment.h"
#include "results/run_marks.h"
#include "results/trace_alignment.h"
#include "support/bounded_file.h"

namespace jobshop {

namespace {

// Every file that cannot be read is a problem of its own, or one problem when none can be.
// Returns false when none can, so that nothing is left to align.
bool noteUnreadableFiles(const ResultFileTexts& texts, const std::string& folder,
                         std::vector<std::string>& problems) {
  std::vector<std::string> missing;
  for (std::size_t f = 0; f < texts.size(); ++f) {
    if (!texts[f]) missing.push_back(folder + kResultFileNames[f]);
  }
  if (missing.size() == texts.size()) {
    problems.push_back("none of the five result files can be read in " +
                       (folder.empty() ? std::string("the current folder") : folder) +
                       " (has the program been run there?)");
    return false;
  }
  for (const std::string& path : missing) {
    problems.push_back("cannot read " + path + "; it is taken as empty");
  }
  return true;
}

// The text of a file a folder may go without; one that is there but no regular file, or too large,
// is a problem, and read as missing.
std::optional<std::string> optionalFileText(const std::string& path, std::int64_t limit,
                                            std::vector<std::string>& problems) {
  BoundedRead read = readBoundedFile(path, limit);
  if (read.failure == BoundedReadFailure::kNotRegular ||
      read.failure == BoundedReadFailure::kTooLarge)
    problems.push_back("cannot read " + path + " (" + read.problem + "); it is not used");
  return std::move(read.text);
}

}  // namespace

ResultRecords loadResultRecords(const std::string& folder, const Instance& instance) {
  ResultTexts texts;
  std::vector<std::string> refused;
  texts.files = readResultFiles(folder, refused);
  // Folders written before the record existed have none; they read exactly as before.
  texts.executionLog =
      optionalFileText(folder + kExecutionRecordFileName, kMaxRecordFileBytes, refused);
  texts.trace = optionalFileText(folder + kTraceFileName, kMaxResultFileBytes, refused);
  ResultRecords records = parseResultRecords(texts, folder, instance);
  records.problems.insert(records.problems.begin(), refused.begin(), refused.end());
  return records;
}

ResultRecords parseResultRecords(const ResultTexts& texts, const std::string& folder,
                                 const Instance& instance) {
  ResultRecords records;
  std::vector<std::string>& problems = records.problems;
  if (!noteUnreadableFiles(texts.files, folder, problems)) return records;
  const ParsedResultFiles files = parseResultFiles(texts.files, instance.geneCount(), problems);
  // Runs recorded with their offsets are placed first; the rest of the files align by counting,
  // and runs recorded before offsets existed pair with those by counting too. The record's
  // problems are listed after the files'.
  std::vector<ClaimedRun> claimed;
  std::vector<std::string> recordProblems;
  if (texts.executionLog) {
    records.log = parseExecutionLog(*texts.executionLog, recordProblems);
    claimed = claimRunsByOffsets(files, records.log, instance.targetMakespan, recordProblems);
  }
  records.runs = alignRuns(files, instance.targetMakespan, claimed, problems);
  problems.insert(problems.end(), recordProblems.begin(), recordProblems.end());
  if (texts.executionLog) {
    matchLoggedRuns(records.log, instance, records.runs, problems);
    markCutAndRepeatedRuns(records.log, records.runs);
  }
  attachTraces(texts.trace, records.log, records.runs, problems);
  return records;
}

}  // namespace jobshop
