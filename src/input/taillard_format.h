// The Taillard instance format: a header line "J M [more numbers]", a "Times" block of J lines of
// M times in operation order and a "Machines" block of J lines of M machine numbers from 1.
#pragma once

#include "input/import_source.h"
#include "input/instance_import.h"

namespace jobshop {

// Some line is the word "Times" or "Machines" (in any letter case); nothing else is looked at.
bool isTaillard(const SourceText& source);

ImportedInstance parseTaillard(const SourceText& source);

}  // namespace jobshop
