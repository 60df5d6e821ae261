// What the five result files say about each run, once split into runs and aligned, together with
// every disagreement found between the files.
#include "report/result_records.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "report/execution_matching.h"
#include "report/offset_claims.h"
#include "report/result_parsing.h"
#include "report/run_alignment.h"
#include "results/file_digest.h"
#include "results/result_files.h"
#include "support/text_files.h"

namespace jobshop {

ResultRecords loadResultRecords(const std::string& folder, const Instance& instance) {
  const char* const names[] = {kProgressFileName, kOptimaFileName, kOptimumCountFileName,
                               kDistanceFileName, kSolutionFileName};
  ResultTexts texts;
  for (std::size_t f = 0; f < std::size(names); ++f)
    texts.files[f] = readWholeFile(folder + names[f]);
  // Folders written before the record existed have none; they read exactly as before.
  texts.executionLog = readWholeFile(folder + kExecutionLogFileName);
  return parseResultRecords(texts, folder, instance);
}

ResultRecords parseResultRecords(const ResultTexts& texts, const std::string& folder,
                                 const Instance& instance) {
  const char* const names[] = {kProgressFileName, kOptimaFileName, kOptimumCountFileName,
                               kDistanceFileName, kSolutionFileName};
  std::vector<std::string> missing;
  for (std::size_t f = 0; f < std::size(names); ++f) {
    if (!texts.files[f]) missing.push_back(folder + names[f]);
  }
  ResultRecords records;
  if (missing.size() == std::size(names)) {
    records.problems.push_back("none of the five result files can be read in " +
                               (folder.empty() ? std::string("the current folder") : folder) +
                               " (has the program been run there?)");
    return records;
  }
  for (const std::string& path : missing) {
    records.problems.push_back("cannot read " + path + "; it is taken as empty");
  }
  std::vector<std::string>& problems = records.problems;
  ParsedResultFiles files;
  files.progress = parseProgressFile(texts.files[0].value_or(""), problems);
  files.bests = parseNumberLines(texts.files[1].value_or(""), kOptimaFileName, false, problems);
  files.counts =
      parseNumberLines(texts.files[2].value_or(""), kOptimumCountFileName, true, problems);
  files.distances =
      parseNumberLines(texts.files[3].value_or(""), kDistanceFileName, false, problems);
  files.blocks = parseSolutionFile(texts.files[4].value_or(""), instance.geneCount(), problems);
  for (std::size_t f = 0; f < std::size(names); ++f) {
    files.sizes[f] = static_cast<std::int64_t>(texts.files[f] ? texts.files[f]->size() : 0);
  }
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
  if (texts.executionLog) matchLoggedRuns(records.log, instance, records.runs, problems);
  return records;
}

}  // namespace jobshop
