// The format-independent checks of imported jobs and the Instance built from them.
#include "input/import_checks.h"

#include "input/instance_reader.h"
#include "input/lower_bound.h"

namespace jobshop {

Shape checkShape(const SourceText& source, int lineNumber, int jobs, int machines) {
  if (jobs < 1) {
    refuseAt(source, lineNumber,
             "the number of jobs must be at least 1, found " + std::to_string(jobs));
  }
  if (machines < 1) {
    refuseAt(source, lineNumber,
             "the number of machines must be at least 1, found " + std::to_string(machines));
  }
  // The program's reader refuses larger instances, so an import must not produce one.
  if (jobs > kMaxJobs) {
    refuseAt(source, lineNumber,
             std::to_string(jobs) + " jobs are more than the " + std::to_string(kMaxJobs) +
                 " the program handles");
  }
  if (static_cast<std::int64_t>(jobs) * machines > kMaxGenes) {
    refuseAt(source, lineNumber,
             std::to_string(jobs) + " jobs x " + std::to_string(machines) +
                 " machines are more operations than the " + std::to_string(kMaxGenes) +
                 " the program handles");
  }
  return Shape{jobs, machines};
}

std::string countMismatch(int job, size_t found, size_t expected, const std::string& what) {
  return "job " + std::to_string(job) + " has too " + (found < expected ? "few" : "many") +
         " values: " + std::to_string(found) + " numbers, expected " + what;
}

std::vector<int> checkMachines(const SourceText& source, int lineNumber, int job,
                               const std::vector<int>& fileMachines, int machineCount,
                               int firstMachine) {
  std::vector<int> operationOn(static_cast<size_t>(machineCount), 0);
  std::vector<int> machines;
  for (size_t o = 0; o < fileMachines.size(); ++o) {
    int number = fileMachines[o];
    std::string where = "job " + std::to_string(job) + ", operation " + std::to_string(o + 1) +
                        ": machine " + std::to_string(number);
    if (static_cast<std::int64_t>(number) < firstMachine ||
        static_cast<std::int64_t>(number) >=
            static_cast<std::int64_t>(firstMachine) + machineCount) {
      refuseAt(source, lineNumber,
               where + " is out of range " + std::to_string(firstMachine) + ".." +
                   std::to_string(machineCount - 1 + firstMachine));
    }
    int machine = number - firstMachine + 1;
    int& earlier = operationOn[static_cast<size_t>(machine - 1)];
    if (earlier != 0) {
      refuseAt(source, lineNumber,
               where + " is already used by operation " + std::to_string(earlier));
    }
    earlier = static_cast<int>(o + 1);
    machines.push_back(machine);
  }
  return machines;
}

void checkTimes(const SourceText& source, int lineNumber, int job, const std::vector<int>& times,
                std::int64_t& total) {
  for (size_t o = 0; o < times.size(); ++o) {
    if (times[o] < 0) {
      refuseAt(source, lineNumber,
               "job " + std::to_string(job) + ", operation " + std::to_string(o + 1) +
                   ": processing time " + std::to_string(times[o]) + " is negative");
    }
    total += times[o];
  }
  if (total > kMaxTotalTime) {
    refuseAt(source, lineNumber,
             "the processing times add up to more than " + std::to_string(kMaxTotalTime) +
                 ", beyond what the program's makespans hold exactly");
  }
}

Instance buildInstance(const Shape& shape, const std::vector<JobRow>& rows) {
  Instance instance;
  instance.jobs = shape.jobs;
  instance.machines = shape.machines;
  size_t cells = static_cast<size_t>(shape.jobs) * static_cast<size_t>(shape.machines);
  instance.times.assign(cells, 0);
  instance.routing.assign(cells, 0);
  for (size_t j = 0; j < rows.size(); ++j) {
    size_t rowStart = j * static_cast<size_t>(shape.machines);
    for (size_t o = 0; o < rows[j].machines.size(); ++o) {
      int machine = rows[j].machines[o];
      instance.routing[rowStart + o] = machine;
      instance.times[rowStart + static_cast<size_t>(machine - 1)] = rows[j].times[o];
    }
  }
  instance.targetMakespan = classicLowerBound(instance);
  return instance;
}

}  // namespace jobshop
