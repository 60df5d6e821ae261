// Every message of the main run, worded once, in Spanish, with its exact line ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "input/parameters.h"
#include "model/run_demand.h"

namespace jobshop {

// On standard output when a result file cannot be opened; it has no line end.
std::string outputOpenMessage();

// A run's records that could not be committed to resultFile.
std::string recordCommitFailureMessage(const std::string& resultFile, int run);

// The execution record that could not be appended to path, for reason.
std::string executionRecordFailureMessage(const std::string& path, const std::string& reason);

// A file the execution would write (output) that is one of its inputs, by a link or another name.
std::string outputOnInputMessage(const std::string& output, const std::string& input);

// An output that is another of the folder's records (a result file, the trace, executions.jsonl,
// optima.json, its list, the count's checkpoint) under a second name: appending there would mix
// two records in one file.
std::string outputOnRecordMessage(const std::string& output, const std::string& record);

// An execution that signal stopped after runsDone of its runs.
std::string interruptionMessage(int signal, std::size_t runsDone, int runCount);

// Populations too large for the memory there is.
std::string memoryShortageMessage(int populationSize, int geneCount);

// Why no run of the execution could finish, found before the first: populations beyond the
// memory this process may use, or a mate selection of more work than a run could do.
std::string runDemandMessage(const RunDemandExcess& excess, const Parameters& parameters,
                             int geneCount);

// A restricted tournament's window (--window-size) larger than the population of
// "D_Algoritmo.txt".
std::string windowSizeMessage(int windowSize, int populationSize);

// The seed every reading of the execution's clock derives from.
std::string seedMessage(std::uint32_t seed);

}  // namespace jobshop
