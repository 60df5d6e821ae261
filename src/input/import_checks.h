// The checks every imported job passes whatever its format, so that an import never writes an
// instance the program's own reader would refuse, and the Instance built from checked jobs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "input/import_source.h"
#include "input/instance.h"

namespace jobshop {

// One job as read, in operation order, machines already 1-based.
struct JobRow {
  std::vector<int> machines;
  std::vector<int> times;
};

struct Shape {
  int jobs = 0;
  int machines = 0;
};

// Refuses J or M below 1, more jobs than kMaxJobs or more operations than kMaxGenes.
Shape checkShape(const SourceText& source, int lineNumber, int jobs, int machines);

// The reason for a job line with the wrong number of values.
std::string countMismatch(int job, size_t found, size_t expected, const std::string& what);

// Checks one job's machine numbers as the file writes them, numbered from firstMachine (0 or 1),
// so that messages quote the file's own numbers; returns them numbered from 1.
std::vector<int> checkMachines(const SourceText& source, int lineNumber, int job,
                               const std::vector<int>& fileMachines, int machineCount,
                               int firstMachine);

// Checks the times of one job and adds them to total, refusing a total the program's reader would
// refuse: no makespan can exceed the sum of all processing times, and the program's float
// makespans hold whole numbers exactly only up to kMaxTotalTime.
void checkTimes(const SourceText& source, int lineNumber, int job, const std::vector<int>& times,
                std::int64_t& total);

// The instance of the checked jobs, times in machine order, target the classic lower bound.
Instance buildInstance(const Shape& shape, const std::vector<JobRow>& rows);

}  // namespace jobshop
