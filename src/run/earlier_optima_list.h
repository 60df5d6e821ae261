// The list of schedules an earlier count left named in "optima.json": a count without --list keeps
// naming it when it is still the list of that count, and otherwise must not silently unname it,
// since the report matches the runs' schedules against it.
#pragma once

#include <optional>
#include <string>

#include "results/optima_file.h"
#include "support/failure.h"

namespace jobshop {

// The folder's "optima.json" when it names a list file that exists; nothing otherwise (no file, an
// unreadable one, no list, or a list already gone: there is nothing left to lose).
std::optional<EnumeratedOptima> earlierNamedList(const std::string& folder);

// Nothing when the list of `earlier` is still the list of a count of `next`, else why not: another
// instance (jobs, machines, and the instance digest when both record one), another bound, or, once
// `counted`, another count. Before the count only the instance and, when `boundKnown`, the bound
// are compared.
MaybeFailure earlierListMismatch(const EnumeratedOptima& earlier, const EnumeratedOptima& next,
                                 bool boundKnown, bool counted);

// The one-line refusal to replace "optima.json" at jsonPath: which list would be left unnamed, why,
// and the two ways on.
std::string earlierListRefusal(const EnumeratedOptima& earlier, const std::string& jsonPath,
                               const std::string& mismatch);

}  // namespace jobshop
