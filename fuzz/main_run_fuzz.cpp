// Fuzzing the whole main run: the input bytes decode into a tiny instance, parameters (valid or
// not, with small budgets so each input ends quickly) and a niching method, the real readers check
// them, and the real run driver writes into a scratch folder. Whatever ran, the files must read
// back whole: every solution rebuilds to its makespan and the counts agree between the files and
// the record.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "analysis/recorded_schedules.h"
#include "fuzz_checks.h"
#include "input/input_error.h"
#include "input/instance_reader.h"
#include "input/line_reader.h"
#include "input/niching_settings.h"
#include "input/parameter_reader.h"
#include "model/clock.h"
#include "model/run_state.h"
#include "results/execution_record.h"
#include "results/result_files.h"
#include "results/result_records.h"
#include "run/main_run.h"

using namespace jobshop;

namespace {

// The input read one byte at a time; zeros once it is used up, so every input decodes.
struct ByteSource {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t next = 0;

  int byte() { return next < size ? data[next++] : 0; }
  // A value from lowest to highest, mostly; now and then (a byte of 250 or more) one just outside,
  // so the readers' refusals are exercised too.
  int inRange(int lowest, int highest) {
    const int b = byte();
    if (b >= 250) return b % 2 == 0 ? lowest - 1 : highest + 1;
    return lowest + b % (highest - lowest + 1);
  }
};

std::string instanceText(ByteSource& in) {
  const int jobs = in.inRange(1, 4);
  const int machines = in.inRange(1, 4);
  std::string text = std::to_string(jobs) + "\n" + std::to_string(machines) + "\n" +
                     std::to_string(in.inRange(0, 60)) + "\n";
  for (int j = 0; j < jobs; ++j)
    for (int m = 0; m < machines; ++m)
      text += std::to_string(in.inRange(0, 9)) + (m + 1 < machines ? " " : "\n");
  for (int j = 0; j < jobs; ++j) {
    std::vector<int> route(static_cast<std::size_t>(std::max(machines, 0)));
    for (int m = 0; m < machines; ++m) route[static_cast<std::size_t>(m)] = m + 1;
    for (int m = machines - 1; m > 0; --m)
      std::swap(route[static_cast<std::size_t>(m)],
                route[static_cast<std::size_t>(in.byte() % (m + 1))]);
    // A byte of 250 or more breaks the row: a machine repeated or out of range.
    if (machines > 0 && in.byte() >= 250) route[0] = in.inRange(0, machines + 1);
    for (int m = 0; m < machines; ++m)
      text += std::to_string(route[static_cast<std::size_t>(m)]) + (m + 1 < machines ? " " : "\n");
  }
  return text;
}

std::string parameterText(ByteSource& in) {
  const int values[19] = {
      in.inRange(1, 10) * 2, in.inRange(0, 200), in.inRange(0, 3), in.inRange(-5, 100),
      in.inRange(-5, 100),   in.byte() % 2,      in.byte() % 2,    in.byte() % 2,
      in.byte() % 2,         in.byte() % 2,      in.byte() % 2,    in.byte() % 2,
      in.byte() % 2,         in.byte() % 2,      in.byte() % 2,    in.byte() % 2,
      in.inRange(1, 6),      in.inRange(1, 4),   in.inRange(1, 6)};
  std::string text;
  for (const int value : values) text += "label\n" + std::to_string(value) + "\n";
  return text;
}

// Read after every other byte, so that the inputs made before methods could be chosen still run
// multi-niche crowding: a used-up input gives 0. The method's settings keep their defaults, which
// fit any population.
NichingMethod nichingMethod(ByteSource& in) {
  return kNichingMethodNames[static_cast<std::size_t>(in.byte()) % kNichingMethodNames.size()]
      .method;
}

// The scratch folder of this process, emptied before each input.
const std::string& scratchFolder() {
  static const std::string folder = [] {
    char name[] = "/tmp/jobshop-fuzz-XXXXXX";
    fuzzCheck(mkdtemp(name) != nullptr, "a scratch folder can be made");
    return std::string(name) + "/";
  }();
  return folder;
}

void emptyFolder(const std::string& folder) {
  for (const char* name :
       {kProgressFileName, kOptimaFileName, kOptimumCountFileName, kDistanceFileName,
        kSolutionFileName, kTraceFileName, kExecutionRecordFileName})
    std::remove((folder + name).c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ByteSource in{data, size};
  const std::uint32_t seed = static_cast<std::uint32_t>(in.byte() | in.byte() << 8);
  Instance instance;
  Parameters parameters;
  try {
    instance = parseInstanceLines(splitLines(instanceText(in)), "D_Entrada.txt");
    parameters = parseParameterLines(splitLines(parameterText(in)), "D_Algoritmo.txt");
    parameters.niching.method = nichingMethod(in);
  } catch (const InputError& error) {
    fuzzCheck(isPrintableUtf8(error.message), "a refusal is printable UTF-8 on one line");
    return 0;
  }

  const std::string& folder = scratchFolder();
  emptyFolder(folder);
  std::ostringstream out;
  std::ostringstream err;
  RunState state(instance, parameters, steppingClock(seed));
  RunOutput output{folder, out, err, ProgressLine{}};
  const ExecutionOutcome outcome = executeRuns(state, output);
  fuzzCheck(outcome.outputOk, "the result files are written");
  ExecutionRecord record;
  record.seed = seed;
  record.seedGiven = true;
  record.jobs = instance.jobs;
  record.machines = instance.machines;
  record.targetMakespan = instance.targetMakespan;
  record.parameters = parameters;
  record.runs = outcome.runs;
  fuzzCheck(!appendExecutionRecord(folder + kExecutionRecordFileName, executionRecordLine(record)),
            "the execution record is written");

  ResultRecords records = loadResultRecords(folder, instance);
  rebuildRecordedSchedules(records.runs, instance, records.problems);
  for (const std::string& problem : records.problems) std::fprintf(stderr, "%s\n", problem.c_str());
  fuzzCheck(records.problems.empty(), "the report reads the files without problems");
  fuzzCheck(records.runs.size() == outcome.runs.size(), "one record per run in every file");
  for (std::size_t r = 0; r < records.runs.size(); ++r) {
    const RunRecord& read = records.runs[r];
    const RunSummary& ran = outcome.runs[r];
    fuzzCheck(read.best == static_cast<double>(ran.bestMakespan), "the recorded best is the run's");
    fuzzCheck(read.distinctOptima.value_or(0) == ran.distinctOptima.value_or(0),
              "the count of optima is the run's");
    fuzzCheck(read.solutions.size() == static_cast<std::size_t>(ran.distinctOptima.value_or(0)),
              "one solution line per distinct optimum");
    fuzzCheck(read.progress.empty() || read.progress.back().makespan == read.best,
              "the progress record ends at the best");
    fuzzCheck(!read.trace.empty(), "every run reads back its trace");
  }
  return 0;
}
