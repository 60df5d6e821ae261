// Opening the five files, analysing the final population and committing the two together.
#include "results/run_writing.h"

#include "evolution/optima_analysis.h"
#include "results/run_records.h"

namespace jobshop {

WrittenRun writeRunRecords(const std::string& folder, const std::string& progressRecord,
                           const Population& population, const Instance& instance,
                           SequenceScratch& scratch) {
  WrittenRun written;
  ResultFileSet files;
  openResultFiles(files, folder);
  RunRecords records;
  written.progressOpened = files.progressOpen();
  if (written.progressOpened) records.text[kProgressFile] = progressRecord;
  written.analysisOpened = files.analysisOpen();
  if (written.analysisOpened)
    written.distinctOptima = analyseOptima(population, instance, records, scratch);
  written.commit = commitRunRecords(files, records);
  return written;
}

}  // namespace jobshop
