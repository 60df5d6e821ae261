// The "standard" instance format: optional "#" comments, a line "J M", then J lines of M pairs
// "machine time" in operation order, machines numbered from 0.
#pragma once

#include "input/import_source.h"
#include "input/instance_import.h"

namespace jobshop {

ImportedInstance parseStandard(const SourceText& source);

}  // namespace jobshop
