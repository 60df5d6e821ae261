// Parsing the options of the main run.
#include "run/command_line.h"

namespace jobshop {

const char* const kUsageLine =
    "uso: jobshop-niching [--seed S] [--clock hashed|linear|wall | --wall-clock] "
    "[--record | --no-record] [--dir DIR] [--quiet] "
    "| import | init | report | campaign | --help | --version";

std::optional<std::uint32_t> parseSeed(const std::string& text) {
  if (text.empty() || text.size() > 10) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (value > 0xFFFFFFFFull) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

const char* clockSchemeName(ClockScheme scheme) {
  switch (scheme) {
    case ClockScheme::hashed:
      return "hashed";
    case ClockScheme::linear:
      return "linear";
    case ClockScheme::wall:
      return "wall";
  }
  return "hashed";
}

namespace {

std::optional<ClockScheme> parseClockScheme(const std::string& text) {
  for (ClockScheme scheme : {ClockScheme::hashed, ClockScheme::linear, ClockScheme::wall})
    if (text == clockSchemeName(scheme)) return scheme;
  return std::nullopt;
}

CommandLine refuse(const std::string& why) {
  CommandLine line;
  line.action = CommandAction::usageError;
  line.error = why;
  return line;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  std::optional<ClockScheme> clock;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--help" || arg == "-h" || arg == "--version") {
      // Alone or not at all: "--version extra" must not pass for a version query.
      if (args.size() != 1) return refuse("\"" + arg + "\" no admite otros argumentos");
      line.action = arg == "--version" ? CommandAction::version : CommandAction::help;
      return line;
    }
    if (arg == "--quiet" || arg == "-q") {
      line.quiet = true;
    } else if (arg == "--seed") {
      if (!hasValue) return refuse("falta el valor de --seed");
      line.seed = parseSeed(args[++i]);
      if (!line.seed)
        return refuse("--seed necesita un entero sin signo de 32 bits, no \"" + args[i] + "\"");
    } else if (arg == "--clock" || arg == "--wall-clock") {
      std::optional<ClockScheme> chosen = ClockScheme::wall;
      if (arg == "--clock") {
        if (!hasValue) return refuse("falta el valor de --clock (hashed, linear o wall)");
        chosen = parseClockScheme(args[++i]);
        if (!chosen) return refuse("--clock admite hashed, linear o wall, no \"" + args[i] + "\"");
      }
      if (clock && *clock != *chosen) return refuse("solo cabe un reloj (--clock o --wall-clock)");
      clock = chosen;
    } else if (arg == "--record" || arg == "--no-record") {
      line.record = arg == "--record";
    } else if (arg == "--dir") {
      if (!hasValue || args[i + 1].empty()) return refuse("falta la carpeta de --dir");
      line.folder = args[++i];
      if (line.folder.back() != '/') line.folder += '/';
    } else {
      return refuse("argumento desconocido \"" + arg + "\"");
    }
  }
  line.clock = clock.value_or(ClockScheme::hashed);
  if (line.seed && line.clock == ClockScheme::wall)
    return refuse(
        "--seed y el reloj de calendario (--clock wall, --wall-clock) no pueden ir juntos");
  return line;
}

bool writesExecutionRecord(const CommandLine& line) {
  return line.record.value_or(!line.seed && line.clock != ClockScheme::wall);
}

std::string helpText() {
  return R"(jobshop-niching: minimum-makespan job-shop schedules by a genetic algorithm with
multi-niche crowding; reports how many distinct optimal schedules each run ends with.

Usage:
  jobshop-niching [--seed S] [--clock hashed|linear|wall | --wall-clock] [--record | --no-record]
                  [--dir DIR] [--quiet]
      Reads "D_Entrada.txt" (instance) and "D_Algoritmo.txt" (parameters) and appends one record
      per run to "D_Sal_Mejores.txt", "D_Sal_Optimos.txt", "D_Sal_NumOptimos.txt",
      "D_Sal_Distancias.txt" and "D_Sal_Soluciones.txt", and one line per execution to
      "executions.jsonl". Prints the number k+1 after run k, and "semilla S" on standard error.
      The random source is seeded from a clock once at the start and at every generation; the
      k-th reading (k = 0, 1, ...) of an execution with seed S depends on --clock. S is drawn from
      the system's entropy source unless --seed gives it.
      --seed S       S given (unsigned 32-bit): repeats an execution that printed "semilla S"
      --clock hashed the default: the k-th reading is a 64-bit mix of (S, k), so executions of
                     any two seeds (adjacent ones too) never repeat each other's runs
      --clock linear the k-th reading is S + k, the clock of executions made before the hashed
                     one; seeds S and S+1 then share runs: only to repeat such executions
      --clock wall   every reading is the calendar time itself, as the algorithm first defined it:
                     generations and runs that start within the same second repeat the same draws,
                     so runs of milliseconds are NOT independent; only to reproduce old results;
                     cannot go with --seed
      --wall-clock   the same as --clock wall
      --record       write "executions.jsonl" also under --seed or --wall-clock (which otherwise
                     leave exactly the five result files)
      --no-record    never write "executions.jsonl"
      --dir DIR      read the inputs from and append the results to DIR instead of the current
                     folder
      --quiet, -q    no progress display on standard error (it is shown only on a terminal)
  jobshop-niching import [--target T|ub] [--output PATH] FILE
      Converts an instance in the standard or the Taillard format into "D_Entrada.txt" text,
      written to standard output or PATH. Without --target the target is the classic lower bound;
      --target ub takes the upper bound of a Taillard header.
  jobshop-niching init [--force]
      Writes a "D_Algoritmo.txt" with default parameters in the current folder; refuses to
      overwrite an existing one unless --force.
  jobshop-niching report [--dir DIR] [--output FILE] [--csv FILE]
      Writes an HTML report (Gantt charts, convergence, histogram) of the results in DIR.
  jobshop-niching campaign plan|run|slurm|run-one|status|collect ...
      Many executions over instances and parameter settings: planned from a TOML file into one
      folder, run on every core or as a Slurm job array, and compared (campaign --help).
  jobshop-niching --help | --version

Exit status: 0 done, 1 input or output error, 2 usage error.
)";
}

}  // namespace jobshop
