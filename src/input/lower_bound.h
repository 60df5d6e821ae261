// The classic lower bound of a job-shop instance, the target an import starts from.
#pragma once

#include "input/instance.h"

namespace jobshop {

// The largest of every job's total processing time and every machine's total load: no schedule
// can be shorter. Exact for every Instance whose total processing time fits an int, which
// parseInstanceText guarantees (kMaxTotalTime).
int classicLowerBound(const Instance& instance);

}  // namespace jobshop
