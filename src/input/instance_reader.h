// Reading the problem instance "D_Entrada.txt" into an Instance, refusing any file the rest of
// the program could not work with.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "input/instance.h"

namespace jobshop {

// Job numbers are held in 16-bit fields in places, so more jobs could not be told apart.
inline constexpr int kMaxJobs = 65535;
// The instance file of an execution folder.
inline constexpr const char* kInstanceFileName = "D_Entrada.txt";

// At most 2^24 genes (J·M): up to there a 32-bit float, which holds the genes and schedule times,
// still represents every whole count exactly, and the populations stay within memory.
inline constexpr std::int64_t kMaxGenes = 16777216;
// At most 2^24 for the sum of all processing times, which bounds every makespan: a makespan is a
// 32-bit float, and above 2^24 it would be rounded (16,777,217 held as 16,777,216).
inline constexpr std::int64_t kMaxTotalTime = 16777216;

// Reads the header lines (J, M, target makespan), then the J lines of processing times and the J
// lines of routing; lines after those are ignored. Throws InputError with cannotOpen set when the
// file cannot be opened, and a one-line refusal naming the file name and line otherwise: the file
// ends early, J or M is out of range, a matrix does not hold exactly J·M values, a matrix field has
// no digit, a processing time is negative or beyond the int range, the times add up to more than
// kMaxTotalTime, or a job's routing is not a permutation of 1..M; a header line beyond the int
// range is refused quoting it. An accepted file adds to `warnings` (when not null) at most two
// lines: the first line whose text is read lossily (see DecimalValue::lossy; a matrix line by the
// first such field), then a target makespan no run can reach (below 1 when some time is positive,
// below 0 otherwise).
Instance readInstance(const std::string& path, std::vector<std::string>* warnings = nullptr);

// The same reading and checks on lines already in memory, fileName naming them in refusals.
Instance parseInstanceLines(std::vector<std::string> lines, const std::string& fileName,
                            std::vector<std::string>* warnings = nullptr);

}  // namespace jobshop
