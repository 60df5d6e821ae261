// Reading the inputs, refusing what cannot run, and handing over to the run driver.
#include "run/program.h"

#include <cstdio>
#include <iostream>
#include <new>
#include <stdexcept>

#include "input/input_error.h"
#include "input/instance_reader.h"
#include "input/parameter_reader.h"
#include "run/command_line.h"
#include "run/import_command.h"
#include "run/init_command.h"
#include "run/report_command.h"
#include "run/run_driver.h"

namespace {

const char* const kVersion = "jobshop-niching 1.0.0";
const char* const kInputOpenMessage = "No se ha podido abrir el archivo del ejemplo";

int usageError(const std::string& why) {
  std::fprintf(stderr, "jobshop-niching: %s (%s)\n", why.c_str(), kUsageLine);
  return 2;
}

int mainRun(const CommandLine& line) {
  Instance instance;
  Parameters parameters;
  try {
    instance = readInstance(line.folder + "D_Entrada.txt");
    parameters = readParameters(line.folder + "D_Algoritmo.txt");
  } catch (const InputError& error) {
    if (error.cannotOpen) {
      std::fputs(kInputOpenMessage, stdout);
    } else {
      std::fprintf(stderr, "%s\n", error.message.c_str());
    }
    return 1;
  }
  try {
    RunState state(instance, parameters, line.seed ? steppingClock(*line.seed) : calendarClock());
    RunOutput output{line.folder, stdout, terminalProgressDisplay(line.quiet)};
    return executeRuns(state, output) ? 0 : 1;
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  std::fprintf(stderr,
               "No hay memoria suficiente para las poblaciones (%d individuos de %d genes)\n",
               parameters.populationSize, instance.geneCount());
  return 1;
}

}  // namespace

int runProgram(const std::vector<std::string>& args) {
  if (!args.empty() && (args[0] == "import" || args[0] == "init" || args[0] == "report")) {
    const std::vector<std::string> rest(args.begin() + 1, args.end());
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
      std::printf("%s\n", kVersion);
      return 0;
    case CommandAction::usageError:
      return usageError(line.error);
    case CommandAction::run:
      break;
  }
  return mainRun(line);
}
