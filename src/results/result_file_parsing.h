// Reading the text of each result file into its records (progress records, one-number lines,
// solution blocks), noting every malformed line by file and line number.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace jobshop {

// One line of a progress record: the best makespan reached by the end of a generation.
struct ProgressStep {
  double makespan = 0.0;
  int generation = 0;
};

// One line of "D_Sal_Soluciones.txt": an optimum's machine sequences (machine 1's J jobs, then
// machine 2's, ...) and the makespan written after them.
struct RecordedSolution {
  std::vector<int> sequences;
  int makespan = 0;
  int line = 0;  // 1-based line in "D_Sal_Soluciones.txt", for messages
};

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

struct ParsedResultFiles {
  std::vector<ProgressRecord> progress;  // "D_Sal_Mejores.txt"
  std::vector<NumberLine> bests;         // "D_Sal_Optimos.txt"
  std::vector<NumberLine> counts;        // "D_Sal_NumOptimos.txt"
  std::vector<NumberLine> distances;     // "D_Sal_Distancias.txt"
  std::vector<SolutionBlock> blocks;     // "D_Sal_Soluciones.txt"
  std::array<std::int64_t, 5> sizes{};   // bytes of each, in the order of kResultFileNames
};

// The texts of the five files in the order of kResultFileNames; nullopt for one that cannot be
// read.
using ResultFileTexts = std::array<std::optional<std::string>, 5>;

// Reads the five files of folder (a path ending in '/' or empty for the current folder). One that
// is no regular file or is too large is a problem, and read as empty.
ResultFileTexts readResultFiles(const std::string& folder, std::vector<std::string>& problems);

// Parses each text, one that could not be read as empty, for an instance of geneCount genes.
ParsedResultFiles parseResultFiles(const ResultFileTexts& texts, int geneCount,
                                   std::vector<std::string>& problems);

}  // namespace jobshop
