// Every way the instance reader refuses a file, worded exactly: in Spanish as the main run prints
// it, and in English as the report prints it. Both wordings come from one refusal value, so a case
// here that drifts in one language only is a wording lost between them.
#include <gtest/gtest.h>

#include <string>

#include "input/instance_reader.h"
#include "program_runner.h"
#include "refusal_expect.h"
#include "run/report_command.h"
#include "support/text_files.h"
#include "test_instances.h"

namespace jobshop {

namespace {

struct Wording {
  const char* instance;
  const char* spanish;  // after "D_Entrada.txt, línea "
  const char* english;  // after "D_Entrada.txt:"
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
  EXPECT_REFUSAL(parseInstanceLines(splitLines(wording.instance), kInstanceFileName),
                 std::string("D_Entrada.txt, línea ") + wording.spanish)
      << wording.instance;
  EXPECT_EQ(reportRefusalOf(wording.instance),
            std::string("jobshop-niching report: D_Entrada.txt:") + wording.english + "\n");
}

TEST(RefusalWording, HeaderRefusalsInBothLanguages) {
  const Wording wordings[] = {
      {"", "1: se esperaba el número de trabajos, se encontró el final del archivo",
       "1: expected the number of jobs, found the end of the file"},
      {"2\n", "2: se esperaba el número de máquinas, se encontró el final del archivo",
       "2: expected the number of machines, found the end of the file"},
      {"2\n3\n", "3: se esperaba el makespan objetivo, se encontró el final del archivo",
       "3: expected the target makespan, found the end of the file"},
      {"0\n3\n10\n", "1: el número de trabajos debe ser al menos 1, se encontró 0",
       "1: the number of jobs must be at least 1, found 0"},
      {"jobs\n3\n10\n", "1: el número de trabajos debe ser al menos 1, se encontró \"jobs\"",
       "1: the number of jobs must be at least 1, found \"jobs\""},
      {"2\n\n10\n", "2: el número de máquinas debe ser al menos 1, se encontró una línea vacía",
       "2: the number of machines must be at least 1, found an empty line"},
      {"65536\n1\n10\n", "1: el número de trabajos debe ser como mucho 65535, se encontró 65536",
       "1: the number of jobs must be at most 65535, found 65536"},
      {"4097\n4096\n10\n",
       "2: el número de operaciones (trabajos × máquinas) debe ser como mucho 16777216, se "
       "encontró 4097 × 4096 = 16781312",
       "2: the number of operations (jobs × machines) must be at most 16777216, found 4097 × 4096 "
       "= 16781312"},
      {"2\n3\n-2147483649\n",
       "3: se esperaba un número entero de -2147483648 a 2147483647, se encontró \"-2147483649\"",
       "3: expected a whole number from -2147483648 to 2147483647, found \"-2147483649\""},
  };
  for (const Wording& wording : wordings) expectWordings(wording);
}

TEST(RefusalWording, MatrixRefusalsInBothLanguages) {
  const Wording wordings[] = {
      {"2\n3\n10\n3 2 4\n",
       "5: se esperaban los tiempos de proceso del trabajo 2, se encontró el final del archivo",
       "5: expected the processing times of job 2, found the end of the file"},
      {"2\n3\n10\n3 2 4\n2 5 1\n1 2 3\n",
       "7: se esperaba la ruta del trabajo 2, se encontró el final del archivo",
       "7: expected the routing of job 2, found the end of the file"},
      {"2\n3\n10\n3 2  4\n2 5\n1 2 3\n3 1 2\n",
       "4: se esperaba un número entero, se encontró un campo vacío (un espacio de más)",
       "4: expected a whole number, found an empty field (one space too many)"},
      {"2\n3\n10\n3 2 4\nabc 5 1\n1 2 3\n3 1 2\n",
       "5: se esperaba un número entero, se encontró \"abc\"",
       "5: expected a whole number, found \"abc\""},
      {"2\n3\n10\n3 -2 4\n2 5 1\n1 2 3\n3 1 2\n",
       "4: el tiempo de proceso del trabajo 1 en la máquina 2 debe ser al menos 0, se encontró -2",
       "4: the processing time of job 1 on machine 2 must be at least 0, found -2"},
      {"2\n3\n10\n3 2 4\n2 5 1\n1 2 3\n3 4 2\n",
       "7: la ruta del trabajo 2 no es una permutación de 1..3 (la máquina 4 no existe)",
       "7: the routing of job 2 is not a permutation of 1..3 (machine 4 does not exist)"},
      {"2\n3\n10\n3 2 4\n2 5 1\n1 2 2\n3 1 2\n",
       "6: la ruta del trabajo 1 no es una permutación de 1..3 (la máquina 2 se repite)",
       "6: the routing of job 1 is not a permutation of 1..3 (machine 2 appears twice)"},
      {"2\n3\n10\n3 2 4 9\n2 5 1\n1 2 3\n3 1 2\n",
       "5: se esperaban 6 tiempos de proceso (2 trabajos × 3 máquinas) en las líneas 4 a 5, se "
       "encontraron 7",
       "5: expected 6 values (2 jobs × 3 machines) on lines 4 to 5, found 7"},
      {"1\n1\n10\n\n1\n",
       "4: se esperaba 1 tiempo de proceso (1 trabajo × 1 máquina) en la línea 4, se encontraron 0",
       "4: expected 1 values (1 jobs × 1 machines) on line 4, found 0"},
      {"1\n2\n10\n1 2\n1\n",
       "5: se esperaban 2 valores de ruta (1 trabajo × 2 máquinas) en la línea 5, se encontró 1",
       "5: expected 2 values (1 jobs × 2 machines) on line 5, found 1"},
      {"2\n1\n10\n16777216\n1\n1\n1\n",
       "5: la suma de los tiempos de proceso de las líneas 4 a 5 debe ser como mucho 16777216, se "
       "encontró 16777217",
       "5: the processing times on lines 4 to 5 must add up to at most 16777216, found 16777217"},
  };
  for (const Wording& wording : wordings) expectWordings(wording);
}

// The report read these three through patterns over the Spanish text, which missed them: a time
// beyond the int range, a machine written with a plus sign, and a sum on a single line.
TEST(RefusalWording, RefusalsThePatternsMissedAreWordedInEnglishToo) {
  const Wording wordings[] = {
      {"1\n2\n10\n3 2147483648\n1 2\n",
       "4: el tiempo de proceso del trabajo 1 en la máquina 2 debe ser como mucho 2147483647, se "
       "encontró 2147483648",
       "4: the processing time of job 1 on machine 2 must be at most 2147483647, found 2147483648"},
      {"1\n1\n10\n5\n+99999999999\n",
       "5: la ruta del trabajo 1 no es una permutación de 1..1 (la máquina +99999999999 no existe)",
       "5: the routing of job 1 is not a permutation of 1..1 (machine +99999999999 does not "
       "exist)"},
      {"1\n2\n10\n16777216 1\n1 2\n",
       "4: la suma de los tiempos de proceso de la línea 4 debe ser como mucho 16777216, se "
       "encontró 16777217",
       "4: the processing times on line 4 must add up to at most 16777216, found 16777217"},
  };
  for (const Wording& wording : wordings) expectWordings(wording);
}

TEST(RefusalWording, AnUnopenableFileInBothLanguages) {
  const std::string folder = makeTempFolder();
  EXPECT_REFUSAL(readInstance(folder + kInstanceFileName),
                 "No se ha podido abrir el archivo del ejemplo");
  const Captured report = captureCommand([&](std::ostream& out, std::ostream& err) {
    return runReportCommand({"--dir", folder}, out, err);
  });
  EXPECT_EQ(report.err, "jobshop-niching report: cannot open " + folder + "D_Entrada.txt\n");
}

}  // namespace

}  // namespace jobshop
