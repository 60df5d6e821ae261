// Every way the instance reader refuses a file, worded exactly as the main run prints it, and the
// same words from every other command that reads a "D_Entrada.txt": one fault, one text.
#include <gtest/gtest.h>

#include <string>

#include "input/instance_reader.h"
#include "program_runner.h"
#include "refusal_expect.h"
#include "run/campaign_command.h"
#include "run/import_command.h"
#include "run/optima_command.h"
#include "run/report_command.h"
#include "support/text_files.h"
#include "test_instances.h"

namespace jobshop {

namespace {

struct Wording {
  const char* instance;
  const char* spanish;  // after "D_Entrada.txt, línea "
};

// The report's standard error for a folder holding only this instance file.
std::string reportRefusalOf(const std::string& instance) {
  const std::string folder = makeTempFolder();
  writeFile(folder + kInstanceFileName, instance);
  const Captured report = captureCommand([&](std::ostream& out, std::ostream& err) {
    return runReportCommand({"--dir", folder}, out, err);
  });
  EXPECT_EQ(report.status, 1) << instance;
  return report.err;
}

void expectWordings(const Wording& wording) {
  const std::string text = std::string("D_Entrada.txt, línea ") + wording.spanish;
  EXPECT_REFUSAL(parseInstanceLines(splitLines(wording.instance), kInstanceFileName), text)
      << wording.instance;
  EXPECT_EQ(reportRefusalOf(wording.instance), "jobshop-niching report: " + text + "\n");
}

TEST(RefusalWording, HeaderRefusals) {
  const Wording wordings[] = {
      {"", "1: se esperaba el número de trabajos, se encontró el final del archivo"},
      {"2\n", "2: se esperaba el número de máquinas, se encontró el final del archivo"},
      {"2\n3\n", "3: se esperaba el makespan objetivo, se encontró el final del archivo"},
      {"0\n3\n10\n", "1: el número de trabajos debe ser al menos 1, se encontró 0"},
      {"jobs\n3\n10\n", "1: el número de trabajos debe ser al menos 1, se encontró \"jobs\""},
      {"2\n\n10\n", "2: el número de máquinas debe ser al menos 1, se encontró una línea vacía"},
      {"65536\n1\n10\n", "1: el número de trabajos debe ser como mucho 65535, se encontró 65536"},
      {"4097\n4096\n10\n",
       "2: el número de operaciones (trabajos × máquinas) debe ser como mucho 16777216, se "
       "encontró 4097 × 4096 = 16781312"},
      {"2\n3\n-2147483649\n",
       "3: se esperaba un número entero de -2147483648 a 2147483647, se encontró \"-2147483649\""},
  };
  for (const Wording& wording : wordings) expectWordings(wording);
}

TEST(RefusalWording, MatrixRefusals) {
  const Wording wordings[] = {
      {"2\n3\n10\n3 2 4\n",
       "5: se esperaban los tiempos de proceso del trabajo 2, se encontró el final del archivo"},
      {"2\n3\n10\n3 2 4\n2 5 1\n1 2 3\n",
       "7: se esperaba la ruta del trabajo 2, se encontró el final del archivo"},
      {"2\n3\n10\n3 2  4\n2 5\n1 2 3\n3 1 2\n",
       "4: se esperaba un número entero, se encontró un campo vacío (un espacio de más)"},
      {"2\n3\n10\n3 2 4\nabc 5 1\n1 2 3\n3 1 2\n",
       "5: se esperaba un número entero, se encontró \"abc\""},
      {"2\n3\n10\n3 -2 4\n2 5 1\n1 2 3\n3 1 2\n",
       "4: el tiempo de proceso del trabajo 1 en la máquina 2 debe ser al menos 0, se encontró -2"},
      {"2\n3\n10\n3 2 4\n2 5 1\n1 2 3\n3 4 2\n",
       "7: la ruta del trabajo 2 no es una permutación de 1..3 (la máquina 4 no existe)"},
      {"2\n3\n10\n3 2 4\n2 5 1\n1 2 2\n3 1 2\n",
       "6: la ruta del trabajo 1 no es una permutación de 1..3 (la máquina 2 se repite)"},
      {"2\n3\n10\n3 2 4 9\n2 5 1\n1 2 3\n3 1 2\n",
       "5: se esperaban 6 tiempos de proceso (2 trabajos × 3 máquinas) en las líneas 4 a 5, se "
       "encontraron 7"},
      {"1\n1\n10\n\n1\n",
       "4: se esperaba 1 tiempo de proceso (1 trabajo × 1 máquina) en la línea 4, se encontraron "
       "0"},
      {"1\n2\n10\n1 2\n1\n",
       "5: se esperaban 2 valores de ruta (1 trabajo × 2 máquinas) en la línea 5, se encontró 1"},
      {"2\n1\n10\n16777216\n1\n1\n1\n",
       "5: la suma de los tiempos de proceso de las líneas 4 a 5 debe ser como mucho 16777216, se "
       "encontró 16777217"},
  };
  for (const Wording& wording : wordings) expectWordings(wording);
}

// A time beyond the int range, a machine written with a plus sign, and a sum on a single line.
TEST(RefusalWording, RefusalsOfValuesAsWritten) {
  const Wording wordings[] = {
      {"1\n2\n10\n3 2147483648\n1 2\n",
       "4: el tiempo de proceso del trabajo 1 en la máquina 2 debe ser como mucho 2147483647, se "
       "encontró 2147483648"},
      {"1\n1\n10\n5\n+99999999999\n",
       "5: la ruta del trabajo 1 no es una permutación de 1..1 (la máquina +99999999999 no "
       "existe)"},
      {"1\n2\n10\n16777216 1\n1 2\n",
       "4: la suma de los tiempos de proceso de la línea 4 debe ser como mucho 16777216, se "
       "encontró 16777217"},
  };
  for (const Wording& wording : wordings) expectWordings(wording);
}

TEST(RefusalWording, AnUnopenableFile) {
  const std::string folder = makeTempFolder();
  EXPECT_REFUSAL(readInstance(folder + kInstanceFileName),
                 "No se ha podido abrir el archivo del ejemplo");
  const Captured report = captureCommand([&](std::ostream& out, std::ostream& err) {
    return runReportCommand({"--dir", folder}, out, err);
  });
  EXPECT_EQ(report.err, "jobshop-niching report: No se ha podido abrir el archivo del ejemplo\n");
}

// The main run, optima, report and import all read "D_Entrada.txt"; each refuses a broken one in
// the same words (the report names itself first, as it does before every message).
TEST(RefusalWording, EveryCommandReadingTheInstanceGivesTheSameText) {
  const std::string folder = makeTempFolder();
  const std::string broken = "2\n3\n10\n3 -2 4\n2 5 1\n1 2 3\n3 1 2\n";
  writeFile(folder + kInstanceFileName, broken);
  const std::string text =
      "D_Entrada.txt, línea 4: el tiempo de proceso del trabajo 1 en la máquina 2 debe ser al "
      "menos 0, se encontró -2\n";
  const Captured mainRun = runProgramIn(folder, "");
  const Captured optima = captureCommand([&](std::ostream& out, std::ostream& err) {
    return runOptimaCommand({"--dir", folder}, out, err);
  });
  const Captured report = captureCommand([&](std::ostream& out, std::ostream& err) {
    return runReportCommand({"--dir", folder}, out, err);
  });
  const Captured import = captureCommand([&](std::ostream& out, std::ostream& err) {
    return runImportCommand({folder + kInstanceFileName}, out, err);
  });
  for (const Captured* refused : {&mainRun, &optima, &report, &import}) {
    EXPECT_EQ(refused->status, 1) << refused->err;
    EXPECT_EQ(refused->out, "");
  }
  EXPECT_EQ(mainRun.err, text);
  EXPECT_EQ(optima.err, text);
  EXPECT_EQ(report.err, "jobshop-niching report: " + text);
  EXPECT_EQ(import.err, text);
  EXPECT_EQ(readFile(folder + kInstanceFileName), broken);
}

// A campaign plan reads its instances as the main run does and quotes the same text after naming
// the campaign's line.
TEST(RefusalWording, ACampaignPlanQuotesTheSameText) {
  const std::string folder = makeTempFolder();
  writeFile(folder + kInstanceFileName, "2\n3\n10\n3 -2 4\n2 5 1\n1 2 3\n3 1 2\n");
  writeFile(folder + "campaign.toml", "[instances]\nbroken = \"D_Entrada.txt\"\n");
  const Captured plan = captureCommand([&](std::ostream& out, std::ostream& err) {
    return runCampaignCommand({"plan", folder + "campaign.toml", "--into", folder + "out"}, out,
                              err);
  });
  EXPECT_EQ(plan.status, 1);
  EXPECT_EQ(plan.err, "jobshop-niching campaign: " + folder +
                          "campaign.toml:2: expected an instance broken that can be read, found "
                          "D_Entrada.txt, línea 4: el tiempo de proceso del trabajo 1 en la "
                          "máquina 2 debe ser al menos 0, se encontró -2\n");
}

}  // namespace

}  // namespace jobshop
