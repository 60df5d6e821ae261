// Conversion of published job-shop instances ("standard" and Taillard text formats), and of the
// program's own "D_Entrada.txt", into an Instance.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "input/instance.h"

namespace jobshop {

enum class InstanceFormat {
  // Optional "#" comments, a line "J M", then J lines of M pairs "machine time" in operation
  // order, machines numbered from 0.
  kStandard,
  // A header line "J M [more numbers]", a "Times" block of J lines of M times in operation order
  // and a "Machines" block of J lines of M machine numbers from 1.
  kTaillard,
  // The program's own "D_Entrada.txt": J, M and the target on lines 1 to 3, then the times in
  // machine order and the routing, as the instance reader reads them.
  kInputFile,
};

// An imported instance and what its header tells beyond J and M.
struct ImportedInstance {
  Instance instance;
  // The fifth number of a Taillard header, which published files write as J, M, time seed,
  // machine seed, upper bound, lower bound; absent for the standard format and shorter headers.
  std::optional<int> upperBound;
  // The file states its own target (a "D_Entrada.txt"); otherwise the target is the lower bound.
  bool ownTarget = false;
};

// The format the text is written in: a "D_Entrada.txt" when its first line that holds something
// other than blanks or a "#" comment is a single number (the published formats have two or more
// numbers there, or caption text); else Taillard when some line is the word "Times" or "Machines"
// (in any letter case), standard otherwise. Looks at nothing else; the parser checks the rest.
InstanceFormat detectInstanceFormat(const std::string& text);

// Parses a "D_Entrada.txt" as the instance reader does, refusing it in the same words (the file
// named by the last component of fileName) and adding its warnings to `warnings` when not null.
// Parses the published formats into an Instance with times in machine order, routing as
// machines 1..M in operation order and targetMakespan set to classicLowerBound. Throws
// InputError{"FILE:LINE: reason"} (fileName as given, shown as printableText) for any malformed
// input: J or M below 1, wrong number of values on a line, missing or surplus lines or blocks,
// non-numbers, negative times, machines out of range or repeated within a job, more jobs or
// operations than readInstance accepts (kMaxJobs, kMaxGenes), processing times adding up to more
// than kMaxTotalTime, and a Taillard upper bound that is negative or beyond the int range. Text
// from the file is quoted with every control byte escaped. Blank lines and lines whose first
// non-blank character is "#" are skipped; carriage returns are ignored.
ImportedInstance parseInstanceText(const std::string& text, const std::string& fileName,
                                   std::vector<std::string>* warnings = nullptr);

// Reads the whole file at path and parses it as parseInstanceText does, path naming it in
// messages. Throws InputError when the file cannot be read.
ImportedInstance importInstanceFile(const std::string& path,
                                    std::vector<std::string>* warnings = nullptr);

}  // namespace jobshop
