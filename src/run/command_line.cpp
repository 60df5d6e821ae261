// Parsing the options of the main run.
#include "run/command_line.h"

#include "run/niching_options.h"
#include "support/failure.h"
#include "support/option_parser.h"

namespace jobshop {

const char* const kUsageLine =
    "uso: jobshop-niching [--seed S] [--clock hashed|linear|wall | --wall-clock] "
    "[--record | --no-record] [--dir DIR] [--quiet] [--niching NAME [SETTING VALUE]...] "
    "| import | init | report | optima | campaign | --help | --version";

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

std::vector<OptionSpec> withNichingOptions(std::vector<OptionSpec> options) {
  for (OptionSpec& option : nichingOptionSpecs()) options.push_back(std::move(option));
  return options;
}

const CommandOptions& mainRunOptions() {
  static const CommandOptions options{
      .options = withNichingOptions({
          {.name = "--help", .alias = "-h", .alone = true},
          {.name = "--version", .alone = true},
          {.name = "--quiet", .alias = "-q"},
          {.name = "--seed", .takesValue = true, .whenMissing = "falta el valor de --seed"},
          {.name = "--clock",
           .takesValue = true,
           .setting = "clock",
           .whenMissing = "falta el valor de --clock (hashed, linear o wall)",
           .whenRepeated = "solo cabe un reloj (--clock o --wall-clock)"},
          {.name = "--wall-clock",
           .setting = "clock",
           .whenRepeated = "solo cabe un reloj (--clock o --wall-clock)"},
          {.name = "--record",
           .setting = "record",
           .whenRepeated = "solo cabe uno de --record y --no-record"},
          {.name = "--no-record",
           .setting = "record",
           .whenRepeated = "solo cabe uno de --record y --no-record"},
          {.name = "--dir",
           .takesValue = true,
           .emptyValueIsMissing = true,
           .whenMissing = "falta la carpeta de --dir"},
      }),
      .wording = {.unknown = "argumento desconocido \"{}\"",
                  .repeated = "{} aparece más de una vez",
                  .notAlone = "\"{}\" no admite otros argumentos",
                  .suggestion = "; ¿quería decir {}?"},
      .otherWords = {"import", "init", "report", "optima", "campaign"},
  };
  return options;
}

// Takes one given option into line; nothing, or why its value is refused.
MaybeFailure takeOption(CommandLine& line, const GivenOption& option) {
  if (option.name == "--quiet") {
    line.quiet = true;
  } else if (option.name == "--seed") {
    line.seed = parseSeed(option.value);
    if (!line.seed)
      return Failure{"--seed necesita un entero sin signo de 32 bits, no \"" + option.value + "\""};
  } else if (option.name == "--clock") {
    const std::optional<ClockScheme> chosen = parseClockScheme(option.value);
    if (!chosen)
      return Failure{"--clock admite hashed, linear o wall, no \"" + option.value + "\""};
    line.clock = *chosen;
  } else if (option.name == "--wall-clock") {
    line.clock = ClockScheme::wall;
  } else if (option.name == "--no-record") {
    line.record = false;
  } else if (isNichingOption(option.name)) {
    return takeNichingOption(line.niching, option);
  } else if (option.name == "--dir") {
    line.folder = option.value;
    if (line.folder.back() != '/') line.folder += '/';
  }
  return std::nullopt;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
  const ParsedOptions parsed = parseOptions(args, mainRunOptions());
  CommandLine line;
  // The options before a refused argument are taken first, so that the first fault is the one told.
  for (const GivenOption& option : parsed.given)
    if (const MaybeFailure why = takeOption(line, option)) return refuse(why->reason);
  if (!parsed.refusal.empty()) return refuse(parsed.refusal);
  if (parsed.has("--help")) line.action = CommandAction::help;
  if (parsed.has("--version")) line.action = CommandAction::version;
  if (line.seed && line.clock == ClockScheme::wall)
    return refuse(
        "--seed y el reloj de calendario (--clock wall, --wall-clock) no pueden ir juntos");
  if (const MaybeFailure why = checkSettingsFitMethod(line.niching, parsed.given))
    return refuse(why->reason);
  return line;
}

std::string helpText() {
  return R"(jobshop-niching: minimum-makespan job-shop schedules by a genetic algorithm with
multi-niche crowding; reports how many distinct optimal schedules each run ends with.

Usage:
  jobshop-niching [--seed S] [--clock hashed|linear|wall | --wall-clock] [--record | --no-record]
                  [--dir DIR] [--quiet] [--niching NAME [SETTING VALUE]...]
      Reads "D_Entrada.txt" (instance) and "D_Algoritmo.txt" (parameters) and appends one record
      per run to "D_Sal_Mejores.txt", "D_Sal_Optimos.txt", "D_Sal_NumOptimos.txt",
      "D_Sal_Distancias.txt" and "D_Sal_Soluciones.txt", its trace (one line per generation) to
      "D_Sal_Traza.txt", and one line per execution to "executions.jsonl". Prints the number k+1
      after run k, and "semilla S" on standard error.
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
      --record       write "executions.jsonl" (the default, whatever the seed and the clock;
                     accepted so that older command lines still run)
      --no-record    do not write "executions.jsonl"
      --dir DIR      read the inputs from and append the results to DIR instead of the current
                     folder
      --quiet, -q    no progress display on standard error (it is shown only on a terminal)
      --niching NAME the niching method (the execution record names it):
                       crowding                multi-niche crowding, as "D_Algoritmo.txt" sets
                                               it (the default)
                       deterministic-crowding  parents against their nearer child
                       restricted-tournament   each child against the nearest of a random window
                       clearing                the best of each niche keep their places, the
                                               rest are cleared
                       sharing                 fitness divided by the crowd within a radius
                       none                    no niching: tournament selection, generational
                                               replacement
      Each method's own settings, refused with another method:
      --window-size N        restricted-tournament: members drawn per child (1 to the
                             population size; default min(N, 20))
      --clearing-radius D    clearing: distance within which schedules share a niche (from 1;
                             default a tenth of the largest distance, at least 1)
      --clearing-capacity K  clearing: winners kept per niche (from 1; default 1)
      --sharing-radius D     sharing: distance where sharing ends (from 1; default as the
                             clearing radius)
      --sharing-alpha A      sharing: shape of the sharing function (a number above 0; default 1)
  jobshop-niching import [--target T|ub] [--output PATH] FILE
      Converts an instance in the standard or the Taillard format into "D_Entrada.txt" text,
      written to standard output or PATH. Without --target the target is the classic lower bound;
      --target ub takes the upper bound of a Taillard header.
  jobshop-niching init [--force]
      Writes a "D_Algoritmo.txt" with default parameters in the current folder; refuses to
      overwrite an existing one unless --force.
  jobshop-niching report [--dir DIR] [--output FILE] [--csv FILE] [--schedules-csv FILE]
                         [--json FILE]
      Writes an HTML report (Gantt charts, convergence, histogram) of the results in DIR; with
      --csv, --schedules-csv and --json also its runs, its schedules and its figures for scripts.
  jobshop-niching optima [--bound T | --optimum] [--list FILE] [--limit K] [--time-limit S]
                         [--threads K] [--force] [--dir DIR]
      Counts exactly the schedules of DIR's instance within a makespan bound (default: the
      target), lists them with --list, and writes DIR/optima.json, which report then reads.
  jobshop-niching campaign plan|run|slurm|run-one|status|collect ...
      Many executions over instances and parameter settings: planned from a TOML file into one
      folder, run on every core or as a Slurm job array, and compared (campaign --help).
  jobshop-niching --help | --version

Every command and campaign subcommand also takes --help: its options, one line each.

Exit status: 0 done, 1 input or output error, 2 usage error.
)";
}

}  // namespace jobshop
