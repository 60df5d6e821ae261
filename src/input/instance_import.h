// Conversion of published job-shop instances ("standard" and Taillard text formats) into an
// Instance.
#pragma once

#include <optional>
#include <string>

#include "input/instance.h"

namespace jobshop {

enum class InstanceFormat {
  // Optional "#" comments, a line "J M", then J lines of M pairs "machine time" in operation
  // order, machines numbered from 0.
  kStandard,
  // A header line "J M [more numbers]", a "Times" block of J lines of M times in operation order
  // and a "Machines" block of J lines of M machine numbers from 1.
  kTaillard,
};

// An imported instance and what its header tells beyond J and M.
struct ImportedInstance {
  Instance instance;
  // The fifth number of a Taillard header, which published files write as J, M, time seed,
  // machine seed, upper bound, lower bound; absent for the standard format and shorter headers.
  std::optional<int> upperBound;
};

// The format the text is written in: Taillard when some line is the word "Times" or "Machines"
// (in any letter case), standard otherwise. Looks at nothing else; the parser checks the rest.
InstanceFormat detectInstanceFormat(const std::string& text);

// Parses text in the detected format into an Instance with times in machine order, routing as
// machines 1..M in operation order and targetMakespan set to classicLowerBound. Throws
// InputError{"FILE:LINE: reason"} (fileName as given, shown as printableText) for any malformed
// input: J or M below 1, wrong number of values on a line, missing or surplus lines or blocks,
// non-numbers, negative times, machines out of range or repeated within a job, more jobs or
// operations than readInstance accepts (kMaxJobs, kMaxGenes), processing times adding up to more
// than kMaxTotalTime, and a Taillard upper bound that is negative or beyond the int range. Text
// from the file is quoted with every control byte escaped. Blank lines and lines whose first
// non-blank character is "#" are skipped; carriage returns are ignored.
ImportedInstance parseInstanceText(const std::string& text, const std::string& fileName);

// Reads the whole file at path and parses it as parseInstanceText does, path naming it in
// messages. Throws InputError when the file cannot be read.
ImportedInstance importInstanceFile(const std::string& path);

}  // namespace jobshop
