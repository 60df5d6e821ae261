// The warning that an execution about to start was already made in its folder: the same seed,
// clock, instance bytes, parameters and version give runs that copy the earlier ones exactly.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "results/execution_record.h"

namespace jobshop {

// One line for standard error naming the execution of logText ("executions.jsonl") that starting
// repeats, by its line and start time; "" when there is none, or when logText cannot be read as
// a record (a warning never stops an execution).
std::string repeatedExecutionWarning(const std::string& logText, const ExecutionRecord& starting);

// The text of the record at path when it is a regular file of at most kMaxRecordFileBytes;
// nullopt otherwise. Whatever else stands at path (a device, a pipe) is never read: /dev/full
// would never end.
std::optional<std::string> readRecordForWarning(const std::string& path);

}  // namespace jobshop
