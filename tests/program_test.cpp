// The whole program run as a user runs it: in a folder of its own, with the built executable.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <sstream>

#include "program_runner.h"
#include "results/file_digest.h"
#include "sanitized_build.h"
#include "test_instances.h"

namespace jobshop {

namespace {

const char* const kExampleInstance = "2\n3\n10\n3 2 4\n2 5 1\n1 2 3\n3 1 2\n";

std::string parameterFile(int population, int evaluations, int runs, int crossover = 80,
                          int mutation = 20, int crossoverFlag = 1) {
  const int values[19] = {
      population, evaluations, runs, crossover, mutation, 1, 1, 1, 1, crossoverFlag,
      0,          0,           0,    0,         0,        0, 3, 2, 3};
  std::string text;
  for (int value : values) text += "etiqueta\n" + std::to_string(value) + "\n";
  return text;
}

std::string folderWith(const std::string& instance, const std::string& parameters) {
  const std::string folder = makeTempFolder();
  writeFile(folder + "D_Entrada.txt", instance);
  writeFile(folder + "D_Algoritmo.txt", parameters);
  return folder;
}

bool anyResultFile(const std::string& folder) {
  for (const char* name : {"D_Sal_Mejores.txt", "D_Sal_Optimos.txt", "D_Sal_NumOptimos.txt",
                           "D_Sal_Distancias.txt", "D_Sal_Soluciones.txt"})
    if (fileExists(folder + name)) return true;
  return false;
}

}  // namespace

TEST(Program, RunNumbersAndAppendingExecutions) {
  const std::string folder = folderWith(kExampleInstance, parameterFile(6, 0, 3));
  Captured first = runProgramIn(folder, "--seed 7");
  EXPECT_EQ(first.status, 0);
  EXPECT_EQ(first.out, "2\n3\n4\n");
  EXPECT_EQ(readFile(folder + "D_Sal_Mejores.txt"), "10.0 0\n\n10.0 0\n\n10.0 0\n\n");
  EXPECT_EQ(readFile(folder + "D_Sal_Soluciones.txt"),
            "1 2 1 2 2 1 10 \n\n1 2 1 2 2 1 10 \n\n1 2 1 2 2 1 10 \n\n");
  Captured second = runProgramIn(folder, "--seed 7");
  EXPECT_EQ(second.out, "2\n3\n4\n");
  EXPECT_EQ(readFile(folder + "D_Sal_Optimos.txt"), "10.0\n10.0\n10.0\n10.0\n10.0\n10.0\n")
      << "the second execution appends behind the first";

  const std::string once = folderWith(kExampleInstance, parameterFile(6, 0, 0));
  EXPECT_EQ(runProgramIn(once, "--seed 1").out, "2\n") << "runCount 0 still makes one run";
}

TEST(Program, DirWithoutTrailingSlashNamesTheFolderItself) {
  const std::string folder = folderWith(kExampleInstance, parameterFile(6, 0, 2));
  const std::string bare = folder.substr(0, folder.size() - 1);
  const std::string elsewhere = makeTempFolder();
  Captured run = runProgramIn(elsewhere, "--seed 7 --dir '" + bare + "'");
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(readFile(folder + "D_Sal_Optimos.txt"), "10.0\n10.0\n");
  EXPECT_TRUE(fileExists(folder + "executions.jsonl"));
  // Not beside it under a joined name ("...XXXXXXD_Sal_Optimos.txt"), nor in the current folder.
  EXPECT_FALSE(fileExists(bare + "D_Sal_Optimos.txt"));
  EXPECT_FALSE(fileExists(bare + "executions.jsonl"));
  EXPECT_FALSE(anyResultFile(elsewhere));

  Captured report = runProgramIn(elsewhere, "report --dir '" + bare + "'");
  EXPECT_EQ(report.status, 0) << report.out;
  EXPECT_TRUE(fileExists(folder + "report.html"));
  EXPECT_FALSE(fileExists(bare + "report.html"));
}

TEST(Program, InputsThatCannotBeOpened) {
  const std::string empty = makeTempFolder();
  Captured missing = runProgramIn(empty, "--seed 1");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "No se ha podido abrir el archivo del ejemplo");
  EXPECT_FALSE(anyResultFile(empty));

  const std::string noParameters = makeTempFolder();
  writeFile(noParameters + "D_Entrada.txt", kExampleInstance);
  Captured alone = runProgramIn(noParameters, "");
  EXPECT_EQ(alone.status, 1);
  EXPECT_EQ(alone.out, "No se ha podido abrir el archivo del ejemplo");
  EXPECT_FALSE(anyResultFile(noParameters));
}

namespace {

const char* const kInstanceHint =
    "Falta \"D_Entrada.txt\", la instancia; la escribe a partir de un ARCHIVO en formato estándar "
    "o de Taillard: jobshop-niching import --output D_Entrada.txt ARCHIVO\n";
const char* const kParametersHint =
    "Falta \"D_Algoritmo.txt\", los parámetros; los escribe con sus valores por omisión: "
    "jobshop-niching init\n";

// The command a hint line ends with, after its last ": ", the program named by its path and
// ARCHIVO replaced by file.
std::string hintedCommand(const std::string& hint, const std::string& file) {
  std::string command = hint.substr(hint.rfind(": ") + 2);
  command.pop_back();
  command.replace(command.find("jobshop-niching"), 15, JOBSHOP_PROGRAM);
  if (const std::size_t at = command.find("ARCHIVO"); at != std::string::npos)
    command.replace(at, 7, file);
  return command;
}

// The lines of text, each with its line feed.
std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line + "\n");
  return lines;
}

}  // namespace

// The fixed message on standard output stays as it is; standard error names what is missing and
// the command that writes it, and that command, run as shown, makes the folder ready.
TEST(Program, MissingInputsAreNamedWithTheCommandThatWritesThem) {
  const std::string source = makeTempFolder();
  writeFile(source + "two-jobs.txt", "2 2\n0 3 1 2\n1 4 0 1\n");

  const std::string empty = makeTempFolder();
  const Captured both = runProgramIn(empty, "--seed 1");
  EXPECT_EQ(both.status, 1);
  EXPECT_EQ(both.out, "No se ha podido abrir el archivo del ejemplo");
  EXPECT_EQ(both.err, std::string(kInstanceHint) + kParametersHint);
  for (const std::string& hint : linesOf(both.err)) {
    const Captured made =
        shell("cd '" + empty + "' && " + hintedCommand(hint, source + "two-jobs.txt"));
    EXPECT_EQ(made.status, 0) << hint << made.err;
  }
  const Captured ready = runProgramIn(empty, "--seed 1");
  EXPECT_EQ(ready.status, 0) << ready.err;

  const std::string noParameters = makeTempFolder();
  writeFile(noParameters + "D_Entrada.txt", kExampleInstance);
  const Captured parametersOnly = runProgramIn(noParameters, "");
  EXPECT_EQ(parametersOnly.out, "No se ha podido abrir el archivo del ejemplo");
  EXPECT_EQ(parametersOnly.err, kParametersHint);

  const std::string noInstance = makeTempFolder();
  writeFile(noInstance + "D_Algoritmo.txt", parameterFile(6, 0, 1));
  EXPECT_EQ(runProgramIn(noInstance, "").err, kInstanceHint);

  // With --dir the commands name the folder, and work from anywhere.
  const std::string elsewhere = makeTempFolder();
  const std::string base = makeTempFolder();
  const std::string target = base + "it's here/";
  ASSERT_EQ(mkdir(target.c_str(), 0755), 0);
  const Captured moved = runProgramIn(elsewhere, "--dir \"" + target + "\"");
  EXPECT_EQ(moved.status, 1);
  EXPECT_EQ(moved.out, "No se ha podido abrir el archivo del ejemplo");
  EXPECT_EQ(moved.err, "Falta \"" + target +
                           "D_Entrada.txt\", la instancia; la escribe a partir de un ARCHIVO en "
                           "formato estándar o de Taillard: jobshop-niching import --output '" +
                           base + "it'\\''s here/D_Entrada.txt' ARCHIVO\n" + "Falta \"" + target +
                           "D_Algoritmo.txt\", los parámetros; los escribe con sus valores por "
                           "omisión: cd '" +
                           base + "it'\\''s here/' && jobshop-niching init\n");
  for (const std::string& hint : linesOf(moved.err)) {
    const Captured made =
        shell("cd '" + elsewhere + "' && " + hintedCommand(hint, source + "two-jobs.txt"));
    EXPECT_EQ(made.status, 0) << hint << made.err;
  }
  EXPECT_EQ(runProgramIn(elsewhere, "--dir \"" + target + "\"").status, 0);
  EXPECT_FALSE(anyResultFile(elsewhere));

  const Captured nowhere = runProgramIn(elsewhere, "--dir /nonexistent-folder");
  EXPECT_EQ(nowhere.out, "No se ha podido abrir el archivo del ejemplo");
  EXPECT_EQ(nowhere.err, "No existe la carpeta \"/nonexistent-folder/\" de --dir\n");

  // A link to nothing is there (init would not replace it), but cannot be read.
  const std::string dangling = makeTempFolder();
  writeFile(dangling + "D_Entrada.txt", kExampleInstance);
  ASSERT_EQ(symlink("nothing", (dangling + "D_Algoritmo.txt").c_str()), 0);
  EXPECT_EQ(runProgramIn(dangling, "").err,
            "No se puede leer \"D_Algoritmo.txt\" (No such file or directory)\n");
}

TEST(Program, RefusalsCreateNoFile) {
  const std::string odd = folderWith(kExampleInstance, parameterFile(7, 0, 1));
  Captured refused = runProgramIn(odd, "--seed 1");
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.out, "");
  EXPECT_NE(refused.err.find("D_Algoritmo.txt, línea 2"), std::string::npos) << refused.err;
  EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1);
  EXPECT_FALSE(anyResultFile(odd));

  const std::string badRouting =
      folderWith("2\n3\n10\n3 2 4\n2 5 1\n1 2 2\n3 1 2\n", parameterFile(6, 0, 1));
  Captured routing = runProgramIn(badRouting, "--seed 1");
  EXPECT_EQ(routing.status, 1);
  EXPECT_NE(routing.err.find("D_Entrada.txt, línea 6"), std::string::npos) << routing.err;
  EXPECT_FALSE(anyResultFile(badRouting));
}

TEST(Program, UsageErrors) {
  const std::string folder = folderWith(kExampleInstance, parameterFile(6, 0, 1));
  for (const char* arguments :
       {"--bogus", "--seed", "--seed -1", "--seed 4294967296", "--seed 12x", "extra",
        "--version extra", "--seed 1 --help", "--seed 1 --wall-clock", "--wall-clock --seed 1",
        "--clock", "--clock steady", "--seed 1 --clock wall", "--clock linear --wall-clock",
        "--clock hashed --clock linear"}) {
    Captured usage = runProgramIn(folder, arguments);
    EXPECT_EQ(usage.status, 2) << arguments;
    EXPECT_EQ(usage.out, "") << arguments;
    EXPECT_EQ(std::count(usage.err.begin(), usage.err.end(), '\n'), 1) << arguments;
  }
  EXPECT_FALSE(anyResultFile(folder));
  EXPECT_EQ(runProgramIn(folder, "--seed 4294967295").status, 0);
}

TEST(Program, OutputFailuresAreNeverReportedAsSuccess) {
  // A folder in the way of a result file: it cannot be opened; the runs still go on.
  const std::string blocked = folderWith(kExampleInstance, parameterFile(6, 0, 2));
  ASSERT_EQ(mkdir((blocked + "D_Sal_NumOptimos.txt").c_str(), 0755), 0);
  Captured outcome = runProgramIn(blocked, "--seed 3");
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.out,
            "No se ha podido abrir el archivo de salida2\n"
            "No se ha podido abrir el archivo de salida3\n");
  EXPECT_EQ(readFile(blocked + "D_Sal_Mejores.txt"), "10.0 0\n\n10.0 0\n\n");
  EXPECT_EQ(readFile(blocked + "D_Sal_Optimos.txt"), "") << "opened, then nothing written";

  // A folder in the way of the trace is told the same way; the five files still take every run.
  const std::string untraced = folderWith(kExampleInstance, parameterFile(6, 0, 2));
  ASSERT_EQ(mkdir((untraced + "D_Sal_Traza.txt").c_str(), 0755), 0);
  Captured traceless = runProgramIn(untraced, "--seed 3");
  EXPECT_EQ(traceless.status, 1);
  EXPECT_EQ(traceless.out,
            "No se ha podido abrir el archivo de salida2\n"
            "No se ha podido abrir el archivo de salida3\n");
  EXPECT_EQ(readFile(untraced + "D_Sal_Mejores.txt"), "10.0 0\n\n10.0 0\n\n");
  EXPECT_EQ(readFile(untraced + "D_Sal_Optimos.txt"), "10.0\n10.0\n");

  // A full disk shows only when the buffered write is flushed.
  const std::string full = folderWith(kExampleInstance, parameterFile(6, 0, 1));
  ASSERT_EQ(symlink("/dev/full", (full + "D_Sal_Soluciones.txt").c_str()), 0);
  Captured diskFull = runProgramIn(full, "--seed 3");
  EXPECT_EQ(diskFull.status, 1);
  EXPECT_EQ(diskFull.out, "2\n");
  EXPECT_NE(diskFull.err.find("D_Sal_Soluciones.txt"), std::string::npos) << diskFull.err;
}

TEST(Program, ProgressDisplayOnlyOnATerminal) {
  const std::string params = parameterFile(6, 400, 2);
  const std::string plain = folderWith(kExampleInstance, params);
  Captured redirected = runProgramIn(plain, "--seed 21");
  EXPECT_EQ(redirected.err, "semilla 21\n")
      << "no display on a standard error that is not a terminal";
  EXPECT_EQ(redirected.out, "2\n3\n");

  if (std::system("command -v script > /dev/null") != 0) GTEST_SKIP() << "script is not installed";
  const std::string terminal = folderWith(kExampleInstance, params);
  const std::string command = "cd '" + terminal + "' && script -qec '" + JOBSHOP_PROGRAM +
                              " --seed 21' /dev/null > terminal.out";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_NE(readFile(terminal + "terminal.out").find("ejecución 1 de 2 | evaluaciones"),
            std::string::npos);
  for (const char* name : {"D_Sal_Mejores.txt", "D_Sal_Optimos.txt", "D_Sal_NumOptimos.txt",
                           "D_Sal_Distancias.txt", "D_Sal_Soluciones.txt"})
    EXPECT_EQ(readFile(terminal + name), readFile(plain + name)) << name;

  const std::string quiet = folderWith(kExampleInstance, params);
  const std::string quietCommand = "cd '" + quiet + "' && script -qec '" + JOBSHOP_PROGRAM +
                                   " --seed 21 --quiet' /dev/null > terminal.out";
  ASSERT_EQ(std::system(quietCommand.c_str()), 0);
  EXPECT_EQ(readFile(quiet + "terminal.out").find("ejecución"), std::string::npos);
}

TEST(Program, FolderOptionHelpAndVersion) {
  const std::string folder = folderWith(kExampleInstance, parameterFile(6, 0, 1));
  const std::string elsewhere = makeTempFolder();
  Captured moved = runProgramIn(elsewhere, "--seed 7 --dir '" + folder + "'");
  EXPECT_EQ(moved.status, 0);
  EXPECT_EQ(readFile(folder + "D_Sal_Optimos.txt"), "10.0\n");
  EXPECT_FALSE(anyResultFile(elsewhere));
  EXPECT_EQ(runProgramIn(elsewhere, "--dir /nonexistent-folder --seed 1").out,
            "No se ha podido abrir el archivo del ejemplo");

  Captured help = runProgramIn(elsewhere, "--help");
  EXPECT_EQ(help.status, 0);
  for (const char* word :
       {"--seed", "--clock", "hashed", "linear", "--wall-clock", "--record", "--no-record", "--dir",
        "--quiet", "-q", "import", "init", "report", "--version"})
    EXPECT_NE(help.out.find(word), std::string::npos) << word;
  Captured version = runProgramIn(elsewhere, "--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("jobshop-niching ", 0), 0u);
  EXPECT_EQ(runProgramIn(elsewhere, "--dir").status, 2);
}

namespace {

const char* const kFrozenClock = "2026-06-01 09:30:00";  // frozen, not started at
const std::uint32_t kFrozenSeconds = 1780306200;

std::string ft06Instance() {
  return readFile(std::string(JOBSHOP_SOURCE_DIR) + "/examples/ft06/D_Entrada.txt");
}

Captured runFrozen(const std::string& folder, const std::string& arguments) {
  return runProgramIn(
      folder, arguments,
      std::string("ASAN_OPTIONS=verify_asan_link_order=0 faketime -f '") + kFrozenClock + "' ");
}

// The records of "D_Sal_Mejores.txt", one per run, each ending in its empty line.
std::vector<std::string> progressRecords(const std::string& folder) {
  const std::string text = readFile(folder + "D_Sal_Mejores.txt");
  std::vector<std::string> records;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\n\n", start)) != std::string::npos; start = end + 2)
    records.push_back(text.substr(start, end + 2 - start));
  return records;
}

std::vector<nlohmann::json> recordLines(const std::string& folder) {
  std::vector<nlohmann::json> lines;
  const std::string text = readFile(folder + "executions.jsonl");
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(nlohmann::json::parse(text.substr(start, end - start)));
  EXPECT_EQ(start, text.size()) << "the file ends with a whole line";
  return lines;
}

}  // namespace

TEST(Program, RunsWithoutSeedAreIndependentAndRepeatable) {
  const std::string params = parameterFile(20, 400, 3);
  // Frozen calendar: the literal clock repeats every draw, the hashed clock does not, and two
  // executions started in the same second still get seeds of their own.
  const std::string stepping = folderWith(ft06Instance(), params);
  const Captured frozen = runFrozen(stepping, "");
  ASSERT_EQ(frozen.status, 0) << frozen.err;
  std::uint32_t seed = 0;
  ASSERT_EQ(std::sscanf(frozen.err.c_str(), "semilla %u\n", &seed), 1) << frozen.err;
  const std::vector<std::string> runs = progressRecords(stepping);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_NE(runs[0], runs[1]);
  EXPECT_NE(runs[1], runs[2]);
  std::set<std::string> seeds{frozen.err};
  for (int execution = 0; execution < 3; ++execution)
    seeds.insert(runFrozen(folderWith(ft06Instance(), params), "").err);
  // Four draws of 32 bits from the entropy source: equal ones would be a one-in-a-billion event.
  EXPECT_EQ(seeds.size(), 4u) << "seeds do not come from the (frozen) calendar";

  const std::string literal = folderWith(ft06Instance(), params);
  const Captured wall = runFrozen(literal, "--wall-clock");
  ASSERT_EQ(wall.status, 0);
  EXPECT_EQ(wall.err, "") << "no single seed to name under the calendar clock";
  const std::vector<std::string> repeated = progressRecords(literal);
  ASSERT_EQ(repeated.size(), 3u);
  // Run 1 starts from the first seeding; every later run from the same state after the last
  // reseed of a frozen second, so they are copies of each other.
  EXPECT_EQ(repeated[1], repeated[2]);
  EXPECT_EQ(recordLines(literal).size(), 1u) << "the wall clock is recorded too";

  // The seed it printed repeats the execution exactly.
  const std::string again = folderWith(ft06Instance(), params);
  const Captured replay = runProgramIn(again, "--seed " + std::to_string(seed));
  EXPECT_EQ(replay.err, "semilla " + std::to_string(seed) + "\n");
  for (const char* name : {"D_Sal_Mejores.txt", "D_Sal_Optimos.txt", "D_Sal_NumOptimos.txt",
                           "D_Sal_Distancias.txt", "D_Sal_Soluciones.txt"})
    EXPECT_EQ(readFile(again + name), readFile(stepping + name)) << name;
  EXPECT_EQ(recordLines(again).size(), 1u) << "a given seed is recorded too";
}

// Under the stepping clock (S + k), seeds 1 and 2 on la01 with these parameters share runs 2 to 10
// byte for byte: once two run boundaries meet at one reading, every later run repeats.
TEST(Program, AdjacentSeedsShareNoRun) {
  SKIP_WHEN_SANITIZED();
  std::string parameters =
      readFile(std::string(JOBSHOP_SOURCE_DIR) + "/examples/la01/D_Algoritmo.txt");
  parameters.replace(parameters.find("\n100\n"), 5, "\n1000\n");      // N 1,000
  parameters.replace(parameters.find("\n50000\n"), 7, "\n200000\n");  // evaluations per run
  const std::string instance =
      readFile(std::string(JOBSHOP_SOURCE_DIR) + "/examples/la01/D_Entrada.txt");
  const std::string one = folderWith(instance, parameters);
  const std::string two = folderWith(instance, parameters);
  const std::string both = std::string(JOBSHOP_PROGRAM) + " --seed 1 --dir '" + one +
                           "' > /dev/null 2>&1 & " + JOBSHOP_PROGRAM + " --seed 2 --dir '" + two +
                           "' > /dev/null 2>&1; wait";
  ASSERT_EQ(std::system(both.c_str()), 0);
  const std::vector<std::string> first = progressRecords(one);
  const std::vector<std::string> second = progressRecords(two);
  ASSERT_EQ(first.size(), 10u);
  ASSERT_EQ(second.size(), 10u);
  for (const std::string& run : first)
    EXPECT_EQ(std::count(second.begin(), second.end(), run), 0) << run;
  const std::string solutions = readFile(one + "D_Sal_Soluciones.txt");
  EXPECT_TRUE(solutions.empty() || solutions != readFile(two + "D_Sal_Soluciones.txt"));
}

TEST(Program, ExecutionRecordHoldsEveryRun) {
  const std::string folder = folderWith(ft06Instance(), parameterFile(20, 600, 3));
  const Captured outcome = runFrozen(folder, "");
  ASSERT_EQ(outcome.status, 0);
  const std::vector<nlohmann::json> lines = recordLines(folder);
  ASSERT_EQ(lines.size(), 1u);
  const nlohmann::json& record = lines[0];
  EXPECT_EQ(record["program"], "jobshop-niching");
  EXPECT_EQ(runProgramIn(folder, "--version").out,
            "jobshop-niching " + record["version"].get<std::string>() + "\n");
  const std::string started = record["started"];
  EXPECT_EQ(started.substr(0, 17), "2026-06-01T09:30:") << started;
  EXPECT_EQ(outcome.err, "semilla " + std::to_string(record["seed"].get<std::uint32_t>()) + "\n");
  EXPECT_EQ(record["seedGiven"], false);
  EXPECT_EQ(record["wallClock"], false);
  EXPECT_EQ(record["clock"], "hashed");
  EXPECT_EQ(record["instance"]["jobs"], 6);
  EXPECT_EQ(record["instance"]["machines"], 6);
  EXPECT_EQ(record["instance"]["target"], 55);
  EXPECT_EQ(record["instance"]["sha256"], sha256Hex(readFile(folder + "D_Entrada.txt")));
  const nlohmann::json& parameters = record["parameters"];
  EXPECT_EQ(parameters.size(), 19u);
  EXPECT_EQ(parameters["populationSize"], 20);
  EXPECT_EQ(parameters["maxEvaluations"], 600);
  EXPECT_EQ(parameters["runCount"], 3);
  EXPECT_EQ(parameters["scrambleMutationEnabled"], true);
  EXPECT_EQ(parameters["segmentWrapCrossoverEnabled"], true);
  EXPECT_EQ(parameters["cycleCrossoverEnabled"], false);
  EXPECT_EQ(parameters["mateCandidates"], 3);
  EXPECT_EQ(parameters["crowdingGroups"], 2);
  EXPECT_EQ(parameters["crowdingGroupSize"], 3);
  EXPECT_EQ(record["exitStatus"], 0);

  // Each run as its result records tell it.
  const std::vector<std::string> progress = progressRecords(folder);
  const std::string optima = readFile(folder + "D_Sal_Optimos.txt");
  ASSERT_EQ(record["runs"].size(), 3u);
  for (int k = 0; k < 3; ++k) {
    const nlohmann::json& run = record["runs"][k];
    SCOPED_TRACE(run.dump());
    EXPECT_EQ(run["run"], k + 1);
    float lastBest = 0;
    int lastGeneration = 0;
    std::optional<int> firstAtTarget;
    std::istringstream text(progress[static_cast<std::size_t>(k)]);
    for (std::string line; std::getline(text, line) && !line.empty();) {
      std::sscanf(line.c_str(), "%f %d", &lastBest, &lastGeneration);
      if (lastBest <= 55.0f && !firstAtTarget) firstAtTarget = lastGeneration;
    }
    EXPECT_EQ(run["bestMakespan"].get<float>(), lastBest);
    EXPECT_GE(run["generations"].get<int>(), lastGeneration);
    // 20 initial evaluations, then at most 20 a generation.
    EXPECT_GE(run["evaluations"].get<int>(), 600);
    EXPECT_LE(run["evaluations"].get<int>(), 20 + 20 * run["generations"].get<int>());
    if (firstAtTarget) {
      EXPECT_EQ(run["targetGeneration"], *firstAtTarget);
      // 20 initial evaluations, then at most 20 a generation.
      EXPECT_GE(run["targetEvaluations"].get<int>(), 20);
      EXPECT_LE(run["targetEvaluations"].get<int>(), 20 + 20 * *firstAtTarget);
    } else {
      EXPECT_TRUE(run["targetGeneration"].is_null());
      EXPECT_TRUE(run["targetEvaluations"].is_null());
    }
    EXPECT_GE(run["seconds"].get<double>(), 0.0);
  }
  const std::string counts = readFile(folder + "D_Sal_NumOptimos.txt");
  int reached = 0;
  for (const nlohmann::json& run : record["runs"])
    if (!run["targetGeneration"].is_null()) {
      EXPECT_GE(run["distinctOptima"].get<int>(), 1);
      ++reached;
    } else {
      EXPECT_EQ(run["distinctOptima"], 0);
    }
  EXPECT_EQ(std::count(counts.begin(), counts.end(), '\n'), reached);

  // A second execution appends a line; a given seed is recorded as given.
  ASSERT_EQ(runProgramIn(folder, "--seed 99 --clock linear").status, 0);
  const std::vector<nlohmann::json> both = recordLines(folder);
  ASSERT_EQ(both.size(), 2u);
  EXPECT_EQ(both[1]["seed"], 99);
  EXPECT_EQ(both[1]["seedGiven"], true);
  EXPECT_EQ(both[1]["clock"], "linear");
  ASSERT_EQ(runProgramIn(folder, "--no-record").status, 0);
  ASSERT_EQ(runProgramIn(folder, "--seed 5 --no-record").status, 0);
  ASSERT_EQ(runFrozen(folder, "--wall-clock").status, 0);
  const std::vector<nlohmann::json> three = recordLines(folder);
  ASSERT_EQ(three.size(), 3u) << "--no-record writes nothing, whatever the seed";
  EXPECT_TRUE(three[2]["seed"].is_null());
  EXPECT_EQ(three[2]["wallClock"], true);
  EXPECT_EQ(three[2]["clock"], "wall");
  // --record is what happens anyway: one line, the same as without it.
  ASSERT_EQ(runProgramIn(folder, "--seed 5 --record").status, 0);
  ASSERT_EQ(recordLines(folder).size(), 4u);
}

TEST(Program, ExecutionRecordOnlyForWholeExecutions) {
  const std::string odd = folderWith(kExampleInstance, parameterFile(7, 0, 1));
  EXPECT_EQ(runProgramIn(odd, "").status, 1);
  EXPECT_FALSE(fileExists(odd + "executions.jsonl")) << "a refusal records nothing";

  // Killed in the middle of its runs: the earlier line stays whole and nothing is added.
  const std::string killed = folderWith(ft06Instance(), parameterFile(100, 2000000000, 50));
  const std::string earlier = "{\"program\":\"jobshop-niching\"}\n";
  writeFile(killed + "executions.jsonl", earlier);
  runProgramIn(killed, "", "timeout -s KILL 0.5 ");
  EXPECT_EQ(readFile(killed + "executions.jsonl"), earlier);

  // A record that cannot be written makes the execution fail, and says so.
  const std::string full = folderWith(kExampleInstance, parameterFile(6, 0, 1));
  ASSERT_EQ(symlink("/dev/full", (full + "executions.jsonl").c_str()), 0);
  const Captured diskFull = runProgramIn(full, "");
  EXPECT_EQ(diskFull.status, 1);
  EXPECT_NE(diskFull.err.find("executions.jsonl"), std::string::npos) << diskFull.err;

  // A result file that failed is recorded as the failure it is.
  const std::string blocked = folderWith(kExampleInstance, parameterFile(6, 0, 1));
  ASSERT_EQ(mkdir((blocked + "D_Sal_Optimos.txt").c_str(), 0755), 0);
  EXPECT_EQ(runProgramIn(blocked, "").status, 1);
  const std::vector<nlohmann::json> lines = recordLines(blocked);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0]["exitStatus"], 1);
  // The example's best reaches its target, so the final population holds an optimum; the analysis
  // is made before any file is opened, so the record counts it all the same.
  EXPECT_GE(lines[0]["runs"][0]["distinctOptima"].get<int>(), 1);
  EXPECT_TRUE(lines[0]["runs"][0]["offsets"].is_null()) << "no records were written";
}

namespace {

const char* const kResultFiles[] = {"D_Sal_Mejores.txt", "D_Sal_Optimos.txt",
                                    "D_Sal_NumOptimos.txt", "D_Sal_Distancias.txt",
                                    "D_Sal_Soluciones.txt"};

std::string repeatWarning(const std::string& folder, std::size_t line) {
  const std::vector<nlohmann::json> lines = recordLines(folder);
  return "Aviso: esta ejecución repite la de la línea " + std::to_string(line) +
         " de executions.jsonl (iniciada el " + lines.at(line - 1)["started"].get<std::string>() +
         "), con la misma semilla, reloj, instancia, parámetros y versión: sus ejecuciones serán "
         "copias exactas de aquellas\n";
}

}  // namespace

// An execution made again in its folder is said to repeat the first one made the same way, on
// standard error only: its runs, output and status are those of any other execution.
TEST(Program, AnExecutionMadeAgainIsToldSoBeforeItsRuns) {
  const std::string folder = folderWith(kExampleInstance, parameterFile(6, 60, 2));
  const Captured first = runProgramIn(folder, "--seed 1");
  EXPECT_EQ(first.err, "semilla 1\n");
  std::vector<std::string> once;
  for (const char* name : kResultFiles) once.push_back(readFile(folder + name));

  const Captured second = runProgramIn(folder, "--seed 1");
  EXPECT_EQ(second.status, 0);
  EXPECT_EQ(second.out, first.out);
  EXPECT_EQ(second.err, "semilla 1\n" + repeatWarning(folder, 1));
  for (std::size_t f = 0; f < std::size(kResultFiles); ++f)
    EXPECT_EQ(readFile(folder + kResultFiles[f]), once[f] + once[f]) << kResultFiles[f];
  ASSERT_EQ(recordLines(folder).size(), 2u) << "it is recorded like any other";

  // Anything that changes the draws or what they apply to makes a new execution.
  EXPECT_EQ(runProgramIn(folder, "--seed 2").err, "semilla 2\n");
  EXPECT_EQ(runProgramIn(folder, "--seed 1 --clock linear").err, "semilla 1\n");
  EXPECT_EQ(runFrozen(folder, "--wall-clock").err, "");
  EXPECT_EQ(runFrozen(folder, "--wall-clock").err, "") << "no seed: never the same draws";
  writeFile(folder + "D_Algoritmo.txt", parameterFile(6, 60, 2, 81));
  EXPECT_EQ(runProgramIn(folder, "--seed 1").err, "semilla 1\n") << "another parameter";
  writeFile(folder + "D_Algoritmo.txt", parameterFile(6, 60, 2));
  writeFile(folder + "D_Entrada.txt", "2\n3\n10\n3 2 4\n2 5 1\n1 2 3\n3 1 2\n\n");
  EXPECT_EQ(runProgramIn(folder, "--seed 1").err, "semilla 1\n") << "another instance byte";
  writeFile(folder + "D_Entrada.txt", kExampleInstance);
  // Named by the first line that made it.
  EXPECT_EQ(runProgramIn(folder, "--seed 1 --no-record").err,
            "semilla 1\n" + repeatWarning(folder, 1));

  // A record that cannot be read warns of nothing, and stops nothing.
  const std::string broken = folderWith(kExampleInstance, parameterFile(6, 60, 1));
  ASSERT_EQ(runProgramIn(broken, "--seed 3").status, 0);
  writeFile(broken + "executions.jsonl", readFile(broken + "executions.jsonl") + "{not json\n");
  const Captured unread = runProgramIn(broken, "--seed 3");
  EXPECT_EQ(unread.status, 0);
  EXPECT_EQ(unread.out, "2\n");
  EXPECT_EQ(unread.err, "semilla 3\n");
  const std::string unreadable = folderWith(kExampleInstance, parameterFile(6, 60, 1));
  ASSERT_EQ(mkdir((unreadable + "executions.jsonl").c_str(), 0755), 0);
  const Captured blocked = runProgramIn(unreadable, "--seed 3");
  EXPECT_EQ(blocked.out, "2\n");
  EXPECT_EQ(blocked.err.rfind("semilla 3\nNo se ha podido escribir el archivo de salida ", 0), 0u)
      << blocked.err;
}

}  // namespace jobshop
