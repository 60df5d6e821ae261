// The whole program run as a user runs it: in a folder of its own, with the built executable.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "test_instances.h"

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

struct Outcome {
  int status;
  std::string out, err;
};

Outcome runIn(const std::string& folder, const std::string& arguments) {
  const std::string command =
      "cd '" + folder + "' && " + JOBSHOP_PROGRAM + " " + arguments + " > stdout.out 2> stderr.out";
  const int raw = std::system(command.c_str());
  Outcome outcome{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(folder + "stdout.out"),
                  readFile(folder + "stderr.out")};
  std::remove((folder + "stdout.out").c_str());
  std::remove((folder + "stderr.out").c_str());
  return outcome;
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
  Outcome first = runIn(folder, "--seed 7");
  EXPECT_EQ(first.status, 0);
  EXPECT_EQ(first.out, "2\n3\n4\n");
  EXPECT_EQ(readFile(folder + "D_Sal_Mejores.txt"), "10.0 0\n\n10.0 0\n\n10.0 0\n\n");
  EXPECT_EQ(readFile(folder + "D_Sal_Soluciones.txt"),
            "1 2 1 2 2 1 10 \n\n1 2 1 2 2 1 10 \n\n1 2 1 2 2 1 10 \n\n");
  Outcome second = runIn(folder, "--seed 7");
  EXPECT_EQ(second.out, "2\n3\n4\n");
  EXPECT_EQ(readFile(folder + "D_Sal_Optimos.txt"), "10.0\n10.0\n10.0\n10.0\n10.0\n10.0\n")
      << "the second execution appends behind the first";

  const std::string once = folderWith(kExampleInstance, parameterFile(6, 0, 0));
  EXPECT_EQ(runIn(once, "--seed 1").out, "2\n") << "runCount 0 still makes one run";
}

TEST(Program, InputsThatCannotBeOpened) {
  const std::string empty = makeTempFolder();
  Outcome missing = runIn(empty, "--seed 1");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "No se ha podido abrir el archivo del ejemplo");
  EXPECT_FALSE(anyResultFile(empty));

  const std::string noParameters = makeTempFolder();
  writeFile(noParameters + "D_Entrada.txt", kExampleInstance);
  Outcome alone = runIn(noParameters, "");
  EXPECT_EQ(alone.status, 1);
  EXPECT_EQ(alone.out, "No se ha podido abrir el archivo del ejemplo");
  EXPECT_FALSE(anyResultFile(noParameters));
}

TEST(Program, RefusalsCreateNoFile) {
  const std::string odd = folderWith(kExampleInstance, parameterFile(7, 0, 1));
  Outcome refused = runIn(odd, "--seed 1");
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.out, "");
  EXPECT_NE(refused.err.find("D_Algoritmo.txt, línea 2"), std::string::npos) << refused.err;
  EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1);
  EXPECT_FALSE(anyResultFile(odd));

  const std::string badRouting =
      folderWith("2\n3\n10\n3 2 4\n2 5 1\n1 2 2\n3 1 2\n", parameterFile(6, 0, 1));
  Outcome routing = runIn(badRouting, "--seed 1");
  EXPECT_EQ(routing.status, 1);
  EXPECT_NE(routing.err.find("D_Entrada.txt, línea 6"), std::string::npos) << routing.err;
  EXPECT_FALSE(anyResultFile(badRouting));
}

TEST(Program, UsageErrors) {
  const std::string folder = folderWith(kExampleInstance, parameterFile(6, 0, 1));
  for (const char* arguments :
       {"--bogus", "--seed", "--seed -1", "--seed 4294967296", "--seed 12x", "extra"}) {
    Outcome usage = runIn(folder, arguments);
    EXPECT_EQ(usage.status, 2) << arguments;
    EXPECT_EQ(usage.out, "") << arguments;
    EXPECT_EQ(std::count(usage.err.begin(), usage.err.end(), '\n'), 1) << arguments;
  }
  EXPECT_FALSE(anyResultFile(folder));
  EXPECT_EQ(runIn(folder, "--seed 4294967295").status, 0);
}

TEST(Program, OutputFailuresAreNeverReportedAsSuccess) {
  // A folder in the way of a result file: it cannot be opened; the runs still go on.
  const std::string blocked = folderWith(kExampleInstance, parameterFile(6, 0, 2));
  ASSERT_EQ(mkdir((blocked + "D_Sal_NumOptimos.txt").c_str(), 0755), 0);
  Outcome outcome = runIn(blocked, "--seed 3");
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.out,
            "No se ha podido abrir el archivo de salida2\n"
            "No se ha podido abrir el archivo de salida3\n");
  EXPECT_EQ(readFile(blocked + "D_Sal_Mejores.txt"), "10.0 0\n\n10.0 0\n\n");
  EXPECT_EQ(readFile(blocked + "D_Sal_Optimos.txt"), "") << "opened, then nothing written";

  // A full disk shows only when the buffered write is flushed.
  const std::string full = folderWith(kExampleInstance, parameterFile(6, 0, 1));
  ASSERT_EQ(symlink("/dev/full", (full + "D_Sal_Soluciones.txt").c_str()), 0);
  Outcome diskFull = runIn(full, "--seed 3");
  EXPECT_EQ(diskFull.status, 1);
  EXPECT_EQ(diskFull.out, "2\n");
  EXPECT_NE(diskFull.err.find("D_Sal_Soluciones.txt"), std::string::npos) << diskFull.err;
}

TEST(Program, ProgressDisplayOnlyOnATerminal) {
  const std::string params = parameterFile(6, 400, 2);
  const std::string plain = folderWith(kExampleInstance, params);
  Outcome redirected = runIn(plain, "--seed 21");
  EXPECT_EQ(redirected.err, "") << "nothing on a standard error that is not a terminal";
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
  Outcome moved = runIn(elsewhere, "--seed 7 --dir '" + folder + "'");
  EXPECT_EQ(moved.status, 0);
  EXPECT_EQ(readFile(folder + "D_Sal_Optimos.txt"), "10.0\n");
  EXPECT_FALSE(anyResultFile(elsewhere));
  EXPECT_EQ(runIn(elsewhere, "--dir /nonexistent-folder --seed 1").out,
            "No se ha podido abrir el archivo del ejemplo");

  Outcome help = runIn(elsewhere, "--help");
  EXPECT_EQ(help.status, 0);
  for (const char* word : {"--seed", "--dir", "--quiet", "import", "init", "report", "--version"})
    EXPECT_NE(help.out.find(word), std::string::npos) << word;
  Outcome version = runIn(elsewhere, "--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("jobshop-niching ", 0), 0u);
  EXPECT_EQ(runIn(elsewhere, "--dir").status, 2);
}
