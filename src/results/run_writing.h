// Writing one finished run to the five result files of a folder: its progress record, the
// analysis of its final population, all committed together or not at all.
#pragma once

#include <optional>
#include <string>

#include "input/instance.h"
#include "model/machine_sequences.h"
#include "model/population.h"
#include "results/result_files.h"

namespace jobshop {

struct WrittenRun {
  bool progressOpened = false;        // "D_Sal_Mejores.txt" could be opened
  bool analysisOpened = false;        // the four analysis files could all be opened
  std::optional<int> distinctOptima;  // present when the analysis files were open
  CommitOutcome commit;
};

// Opens the five files of folder, analyses population (sorted ascending by makespan) when the four
// analysis files opened, and commits progressRecord with the analysis to the files that opened.
WrittenRun writeRunRecords(const std::string& folder, const std::string& progressRecord,
                           const Population& population, const Instance& instance,
                           SequenceScratch& scratch);

}  // namespace jobshop
