// Reading the inputs, refusing what cannot run, and handing over to the run driver.
#include "run/program.h"

#include <csignal>
#include <cstdio>
#include <iostream>
#include <new>
#include <stdexcept>

#include "build_version.h"
#include "input/input_error.h"
#include "input/instance_reader.h"
#include "input/niching_fields.h"
#include "input/parameter_reader.h"
#include "results/execution_record.h"
#include "results/file_digest.h"
#include "results/folder_lock.h"
#include "results/result_files.h"
#include "run/campaign_command.h"
#include "run/command_line.h"
#include "run/import_command.h"
#include "run/init_command.h"
#include "run/main_run.h"
#include "run/main_run_messages.h"
#include "run/main_run_outputs.h"
#include "run/missing_input_hint.h"
#include "run/optima_command.h"
#include "run/repeated_execution_warning.h"
#include "run/report_command.h"
#include "support/bounded_file.h"
#include "support/interruption.h"
#include "support/memory_limits.h"
#include "support/temporary_names.h"
#include "support/text_files.h"

namespace jobshop {

namespace {

int usageError(const std::string& why) {
  std::fprintf(stderr, "jobshop-niching: %s (%s)\n", why.c_str(), kUsageLine);
  return 2;
}

// The clock of the execution: every reading derived from one seed S, given or drawn from the
// entropy source, so that every generation and every run is seeded anew; the calendar itself
// under the wall clock.
struct ExecutionClock {
  Clock clock;
  std::optional<std::uint32_t> seed;
};

ExecutionClock chooseClock(const CommandLine& line) {
  if (line.clock == ClockScheme::wall) return {calendarClock(), std::nullopt};
  const std::uint32_t seed = line.seed ? *line.seed : entropySeed();
  if (line.clock == ClockScheme::linear) return {steppingClock(seed), seed};
  return {hashedClock(seed), seed};
}

ExecutionRecord startRecord(const CommandLine& line, std::time_t now, const ExecutionClock& clock,
                            const Instance& instance, const Parameters& parameters) {
  ExecutionRecord record;
  record.version = kBuildVersion;
  if (*kBuildCommit != '\0') record.commit = kBuildCommit;
  record.started = now;
  record.seed = clock.seed;
  record.seedGiven = line.seed.has_value();
  record.wallClock = line.clock == ClockScheme::wall;
  record.clock = clockSchemeName(line.clock);
  record.jobs = instance.jobs;
  record.machines = instance.machines;
  record.targetMakespan = instance.targetMakespan;
  record.instanceSha256 =
      sha256Hex(readWholeFile(line.folder + kInstanceFileName, kMaxInputFileBytes).value_or(""));
  record.parameters = parameters;
  return record;
}

// Appends the record with the execution's exit status; false (with the reason on standard error)
// when it could not be written.
bool writeRecord(const CommandLine& line, ExecutionRecord& record, int exitStatus,
                 std::ostream& err) {
  record.exitStatus = exitStatus;
  const std::string path = line.folder + kExecutionRecordFileName;
  const std::string text = executionRecordLine(record);
  MaybeFailure failure;
  {
    // Opened and written with the stop signals held back: a second signal in between would
    // otherwise leave the file created but without the line.
    const DeferredInterruptions whileWriting;
    failure = appendExecutionRecord(path, text);
  }
  if (!failure) return true;
  err << executionRecordFailureMessage(path, failure->reason);
  return false;
}

struct MainInputs {
  Instance instance;
  Parameters parameters;
};

// Reads both inputs; nothing once a refusal is shown, since no caller words it again. What a reader
// took from text that says something else goes to standard error as soon as its file is read, so
// that it is shown also when the other file is then refused.
std::optional<MainInputs> readInputs(const CommandLine& line, std::ostream& out,
                                     std::ostream& err) {
  MainInputs inputs;
  std::vector<std::string> warnings;
  const auto showWarnings = [&warnings, &err] {
    for (const std::string& warning : warnings) err << warning + '\n';
    warnings.clear();
  };
  try {
    inputs.instance = readInstance(line.folder + kInstanceFileName, &warnings);
    showWarnings();
    inputs.parameters = readParameters(line.folder + kParametersFileName, &warnings);
    showWarnings();
    inputs.parameters.niching = line.niching;
  } catch (const InputError& error) {
    if (error.cannotOpen()) {
      out << error.message;
      err << missingInputHints(line.folder);
    } else {
      err << error.message + '\n';
    }
    return std::nullopt;
  }
  // Only the file knows the population the window is drawn from.
  if (!windowFitsPopulation(inputs.parameters.niching, inputs.parameters.populationSize)) {
    err << windowSizeMessage(*inputs.parameters.niching.windowSize,
                             inputs.parameters.populationSize);
    return std::nullopt;
  }
  if (const std::optional<RunDemandExcess> excess = runDemandExcess(
          inputs.instance, inputs.parameters, usableMemory(currentMemoryLimits()))) {
    err << runDemandMessage(*excess, inputs.parameters, inputs.instance.geneCount());
    return std::nullopt;
  }
  return inputs;
}

// Every run, then the execution record; the exit status.
int executeAndRecord(const CommandLine& line, const Instance& instance,
                     const Parameters& parameters, std::ostream& out, std::ostream& err) {
  const std::time_t now = calendarSeconds();
  const ExecutionClock clock = chooseClock(line);
  ExecutionRecord record = startRecord(line, now, clock, instance, parameters);
  RunState state(instance, parameters, clock.clock);
  // Before the seed is shown, so that whoever waits for it can count on the handlers.
  installInterruptionHandlers();
  if (clock.seed) err << seedMessage(*clock.seed);
  // Said before the first run, while the execution can still be stopped: its runs would only copy
  // ones the folder already holds.
  if (const std::optional<std::string> log =
          readRecordForWarning(line.folder + kExecutionRecordFileName))
    err << repeatedExecutionWarning(*log, record);
  state.stop.signal = &interruptionFlag();
  RunOutput output{line.folder, out, err, terminalProgressLine(line.quiet)};
  ExecutionOutcome outcome = executeRuns(state, output);
  const std::size_t runsDone = outcome.runs.size();
  record.runs = std::move(outcome.runs);
  if (outcome.interruption != 0)
    err << interruptionMessage(outcome.interruption, runsDone, parameters.runCount);
  int status = outcome.interruption != 0 ? interruptedExitStatus(outcome.interruption)
               : outcome.outputOk        ? 0
                                         : 1;
  if (line.record && !writeRecord(line, record, status, err) && status == 0) status = 1;
  return status;
}

int mainRun(const CommandLine& line, std::ostream& out, std::ostream& err) {
  const std::optional<MainInputs> inputs = readInputs(line, out, err);
  if (!inputs) return 1;
  const Instance& instance = inputs->instance;
  const Parameters& parameters = inputs->parameters;
  if (const std::optional<std::string> clash = mainRunOutputClash(line.folder)) {
    err << *clash;
    return 1;
  }
  // One execution at a time per folder, or two would interleave their records.
  const FolderLockAttempt folderLock = lockFolder(line.folder);
  if (!folderLock.refusal.empty()) {
    err << "jobshop-niching: " + folderLock.refusal + '\n';
    return 1;
  }
  err << recoverUnfinishedCommit(line.folder);
  removeStaleTemporaries(line.folder);
  try {
    return executeAndRecord(line, instance, parameters, out, err);
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  err << memoryShortageMessage(parameters.populationSize, instance.geneCount());
  return 1;
}

}  // namespace

int runProgram(const std::vector<std::string>& args) {
  // Past a file-size limit a write fails with EFBIG, told as a file too large, and the records
  // are cut back whole, instead of the signal ending any command in mid-write and leaving its
  // temporary file behind.
  std::signal(SIGXFSZ, SIG_IGN);
  if (!args.empty() && args[0] == "optima")
    return runOptimaCommand(std::vector<std::string>(args.begin() + 1, args.end()), std::cout,
                            std::cerr);
  if (!args.empty() &&
      (args[0] == "import" || args[0] == "init" || args[0] == "report" || args[0] == "campaign")) {
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "campaign") return runCampaignCommand(rest, std::cout, std::cerr);
    if (args[0] == "import") return runImportCommand(rest, std::cout, std::cerr);
    if (args[0] == "init") return runInitCommand(rest, "", std::cout, std::cerr);
    return runReportCommand(rest, std::cout, std::cerr);
  }
  const CommandLine line = parseCommandLine(args);
  switch (line.action) {
    case CommandAction::help:
      std::fputs(helpText().c_str(), stdout);
      return 0;
    case CommandAction::version:
      std::printf("jobshop-niching %s\n", kBuildVersion);
      return 0;
    case CommandAction::usageError:
      return usageError(line.error);
    case CommandAction::run:
      break;
  }
  return mainRun(line, std::cout, std::cerr);
}

}  // namespace jobshop
