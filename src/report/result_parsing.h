// Reading the text of each result file into its records (progress records, one-number lines,
// solution blocks), noting every malformed line by file and line number.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "report/result_records.h"

namespace jobshop {

// Every record knows the byte at which it starts in its file, so that a run recorded in
// "executions.jsonl" with its offsets finds its own records whatever else the file holds.
struct ProgressRecord {
  std::vector<ProgressStep> steps;
  int firstLine = 0;
  std::int64_t offset = 0;
};

// A line that should hold one number; value is empty when the line is malformed, so that the line
// still stands for its run and the lines after it stay aligned.
struct NumberLine {
  std::optional<double> value;
  int line = 0;
  std::int64_t offset = 0;
};

// The lines of one run in "D_Sal_Soluciones.txt", up to the empty line that ends them.
struct SolutionBlock {
  std::vector<RecordedSolution> solutions;  // the well-formed lines only
  int lineCount = 0;                        // every line of the block, malformed ones included
  int firstLine = 0;
  std::int64_t offset = 0;
};

// Records of "D_Sal_Mejores.txt": lines "makespan generation", each record ended by an empty line.
// A record that is not closed at the end of the file (a run cut short) is reported and left out.
std::vector<ProgressRecord> parseProgressFile(const std::string& text,
                                              std::vector<std::string>& problems);

// One number per line; integerOnly refuses a decimal point (for the count of optima).
std::vector<NumberLine> parseNumberLines(const std::string& text, const std::string& fileName,
                                         bool integerOnly, std::vector<std::string>& problems);

// Blocks of "D_Sal_Soluciones.txt", each line holding geneCount job numbers and a makespan.
std::vector<SolutionBlock> parseSolutionFile(const std::string& text, int geneCount,
                                             std::vector<std::string>& problems);

}  // namespace jobshop
