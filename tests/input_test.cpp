// Tests of the input readers: line splitting, the decimal conversion, the literal matrix field
// rule, and the reading and refusing of "D_Entrada.txt" and "D_Algoritmo.txt".
#include <gtest/gtest.h>
#include <stdlib.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "input/input_error.h"
#include "input/instance_reader.h"
#include "input/line_reader.h"
#include "input/parameter_reader.h"
#include "refusal_expect.h"
#include "support/bounded_file.h"
#include "support/printable_text.h"

namespace jobshop {

namespace {

namespace fs = std::filesystem;

// A fresh directory per test, removed with everything in it at the end of the test.
struct TempDir {
  fs::path path;
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "jobshop_input_XXXXXX").string();
    path = mkdtemp(pattern.data());
  }
  ~TempDir() { fs::remove_all(path); }
  std::string write(const std::string& name, const std::string& content) const {
    std::ofstream(path / name, std::ios::binary) << content;
    return (path / name).string();
  }
};

Instance instanceFrom(const std::string& content) {
  TempDir dir;
  return readInstance(dir.write("D_Entrada.txt", content));
}

Parameters parametersFrom(const std::string& content) {
  TempDir dir;
  return readParameters(dir.write("D_Algoritmo.txt", content));
}

std::string instanceRefusal(const std::string& content) {
  return refusalOf([&] { instanceFrom(content); });
}

const std::string kExample = "2\n3\n10\n3 2 4\n2 5 1\n1 2 3\n3 1 2\n";

// Valid values of the 19 pairs in file order: N 10, budget 1000, 2 runs, 80 % and 10 %, scramble
// and swap mutation, cycle and precedence crossover, 3 candidates, 2 groups of 4.
std::vector<std::string> validValues() {
  return {"10", "1000", "2", "80", "10", "1", "0", "1", "0", "0",
          "1",  "0",    "0", "0",  "0",  "1", "3", "2", "4"};
}

std::string parameterText(const std::vector<std::string>& values) {
  std::string text;
  for (size_t i = 0; i < values.size(); ++i) {
    text += "Parametro " + std::to_string(i + 1) + "\n" + values[i] + "\n";
  }
  return text;
}

std::string parameterRefusal(const std::vector<std::string>& values) {
  return refusalOf([&] { parametersFrom(parameterText(values)); });
}

std::vector<std::string> withValue(size_t pair, const std::string& value) {
  std::vector<std::string> values = validValues();
  values[pair - 1] = value;
  return values;
}

TEST(LineReader, SplitsLinesDroppingLineEnds) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(splitLines("a\nb\n"), (Lines{"a", "b"}));
  EXPECT_EQ(splitLines("a\r\nb\r\n"), (Lines{"a", "b"}));
  EXPECT_EQ(splitLines("a\nlast"), (Lines{"a", "last"}));
  EXPECT_EQ(splitLines("\n\nx\n"), (Lines{"", "", "x"}));
  EXPECT_EQ(splitLines(""), Lines{});
  // Only a carriage return right before a line feed is a line end.
  EXPECT_EQ(splitLines("a\rb\r\r\nc\r"), (Lines{"a\rb\r", "c\r"}));

  const std::string longLine(200000, '7');
  EXPECT_EQ(splitLines(longLine + "\n" + longLine), (Lines{longLine, longLine}));
}

TEST(LineReader, ReadsWholeFilesAndReportsUnopenable) {
  TempDir dir;
  const std::string longLine(5000, 'x');
  auto lines = readFileLines(dir.write("f.txt", "1\r\n" + longLine + "\nend"), kMaxInputFileBytes);
  ASSERT_TRUE(lines.has_value());
  EXPECT_EQ(*lines, (std::vector<std::string>{"1", longLine, "end"}));
  EXPECT_FALSE(readFileLines((dir.path / "missing.txt").string(), kMaxInputFileBytes).has_value());
  EXPECT_FALSE(readFileLines(dir.path.string(), kMaxInputFileBytes).has_value());
}

TEST(LineReader, ConvertsDecimals) {
  auto expectValue = [](const std::string& text, int value, bool hasDigits,
                        bool outOfRange = false) {
    DecimalValue converted = convertDecimal(text);
    EXPECT_EQ(converted.value, value) << '"' << text << '"';
    EXPECT_EQ(converted.hasDigits, hasDigits) << '"' << text << '"';
    EXPECT_EQ(converted.outOfRange, outOfRange) << '"' << text << '"';
  };
  expectValue("42", 42, true);
  expectValue("  \t+42x", 42, true);
  expectValue("-7 abc", -7, true);
  expectValue("01", 1, true);
  expectValue("1.0", 1, true);
  expectValue("10 jobs", 10, true);
  expectValue("0", 0, true);
  expectValue("abc", 0, false);
  expectValue("", 0, false);
  expectValue("-", 0, false);
  expectValue("+ 5", 0, false);
  expectValue("3\t4", 3, true);
  expectValue("2147483647", INT_MAX, true);
  expectValue("2147483648", INT_MAX, true, true);
  expectValue("99999999999999999999999", INT_MAX, true, true);
  expectValue("-2147483648", INT_MIN, true);
  expectValue("-2147483649", INT_MIN, true, true);
  expectValue("-99999999999999999999999", INT_MIN, true, true);
  expectValue("00000000000000002147483647", INT_MAX, true);
}

TEST(LineReader, SplitsMatrixFieldsLiterally) {
  using Fields = std::vector<std::string_view>;
  EXPECT_EQ(splitMatrixFields("3 2 4"), (Fields{"3", "2", "4"}));
  EXPECT_EQ(splitMatrixFields("3 2  4"), (Fields{"3", "2", "", "4"}));
  EXPECT_EQ(splitMatrixFields("3 2 4 "), (Fields{"3", "2", "4"}));
  EXPECT_EQ(splitMatrixFields("3 2 4  "), (Fields{"3", "2", "4", ""}));
  EXPECT_EQ(splitMatrixFields(" 3"), (Fields{"", "3"}));
  EXPECT_EQ(splitMatrixFields(""), Fields{});
  EXPECT_EQ(splitMatrixFields("3\t4 5"), (Fields{"3\t4", "5"}));
}

TEST(PrintableText, EscapesWhatATerminalWouldActOn) {
  EXPECT_EQ(printableText("plain text, ñandú €5 𝄞"), "plain text, ñandú €5 𝄞");
  EXPECT_EQ(printableText("a\tb\nc\rd\\e"), "a\\tb\\nc\\rd\\\\e");
  EXPECT_EQ(printableText(std::string("\x00\x01\x1b[2J\x7f", 7)), "\\x00\\x01\\x1b[2J\\x7f");
  // C1 controls are well-formed UTF-8 but terminal commands all the same.
  EXPECT_EQ(printableText("\xc2\x85\xc2\x9b\xc2\xa0"), "\\u0085\\u009b\xc2\xa0");
  // Stray continuation bytes, a cut sequence, overlong forms, a surrogate and a code point beyond
  // U+10FFFF: each byte on its own.
  EXPECT_EQ(printableText("\x80|\xe2\x82|\xc0\xaf|\xed\xa0\x80|\xf4\x90\x80\x80"),
            "\\x80|\\xe2\\x82|\\xc0\\xaf|\\xed\\xa0\\x80|\\xf4\\x90\\x80\\x80");
}

TEST(PrintableText, CutsBetweenWholeCharactersAndEscapes) {
  auto expectPrefix = [](const std::string& text, size_t maxBytes, const std::string& shown,
                         bool truncated) {
    const PrintablePrefix prefix = printablePrefix(text, maxBytes);
    EXPECT_EQ(prefix.text, shown) << text << " in " << maxBytes;
    EXPECT_EQ(prefix.truncated, truncated) << text << " in " << maxBytes;
  };
  expectPrefix("añ", 3, "añ", false);
  expectPrefix("a€", 3, "a", true);
  expectPrefix("a\x01", 4, "a", true);
  expectPrefix("a\x01", 5, "a\\x01", false);
}

TEST(InstanceReader, ReadsTheExample) {
  const std::vector<int> times{3, 2, 4, 2, 5, 1};
  const std::vector<int> routing{1, 2, 3, 3, 1, 2};
  Instance instance = instanceFrom(kExample);
  EXPECT_EQ(instance.jobs, 2);
  EXPECT_EQ(instance.machines, 3);
  EXPECT_EQ(instance.targetMakespan, 10);
  EXPECT_EQ(instance.times, times);
  EXPECT_EQ(instance.routing, routing);
  EXPECT_EQ(instance.timeOn(2, instance.machineOf(2, 1)), 1);

  // Rows run on across line breaks; CRLF, a missing final line feed, one trailing space, a tab
  // inside a field and text after the last needed line change nothing.
  for (const std::string& variant :
       {std::string("2\n3\n10\n3 2\n4 2 5 1\n1 2 3\n3 1 2\n"),
        std::string("2\r\n3\r\n10\r\n3 2 4\r\n2 5 1\r\n1 2 3\r\n3 1 2\r\n"),
        std::string("2\n3\n10\n3 2 4\n2 5 1\n1 2 3\n3 1 2"),
        std::string(
            "2 jobs\n3 machines\n10 target\n3 2 4 \n2 5 1\n1 2 3 \n3\t9 1 2\nfree text\n")}) {
    instance = instanceFrom(variant);
    EXPECT_EQ(instance.times, times) << variant;
    EXPECT_EQ(instance.routing, routing) << variant;
  }

  std::string tenJobs = "10 jobs\n1\n0\n";
  for (int j = 0; j < 10; ++j) tenJobs += "5\n";
  for (int j = 0; j < 10; ++j) tenJobs += "1\n";
  instance = instanceFrom(tenJobs);
  EXPECT_EQ(instance.jobs, 10);
  EXPECT_EQ(instance.times, std::vector<int>(10, 5));

  // One job on 3000 machines: lines far beyond any fixed buffer.
  const int machines = 3000;
  std::string timesLine, routingLine;
  for (int m = 1; m <= machines; ++m) {
    timesLine += std::to_string(m % 97) + (m < machines ? " " : "");
    routingLine += std::to_string(machines + 1 - m) + (m < machines ? " " : "");
  }
  instance = instanceFrom("1\n3000\n5\n" + timesLine + "\n" + routingLine);
  ASSERT_EQ(instance.times.size(), 3000u);
  EXPECT_EQ(instance.times[2999], 3000 % 97);
  EXPECT_EQ(instance.routing[0], 3000);
  EXPECT_EQ(instance.routing[2999], 1);
}

TEST(InstanceReader, RefusesUnopenableFile) {
  TempDir dir;
  try {
    readInstance((dir.path / "D_Entrada.txt").string());
    FAIL() << "not refused";
  } catch (const InputError& error) {
    EXPECT_TRUE(error.cannotOpen());
    EXPECT_EQ(error.message, "No se ha podido abrir el archivo del ejemplo");
  }
}

TEST(InstanceReader, RefusesBadHeader) {
  EXPECT_EQ(instanceRefusal(""),
            "D_Entrada.txt, línea 1: se esperaba el número de trabajos, se encontró el final del "
            "archivo");
  EXPECT_EQ(instanceRefusal("2\n3\n"),
            "D_Entrada.txt, línea 3: se esperaba el makespan objetivo, se encontró el final del "
            "archivo");
  EXPECT_EQ(instanceRefusal("0\n3\n10\n"),
            "D_Entrada.txt, línea 1: el número de trabajos debe ser al menos 1, se encontró 0");
  EXPECT_EQ(instanceRefusal("jobs\n3\n10\n"),
            "D_Entrada.txt, línea 1: el número de trabajos debe ser al menos 1, se encontró "
            "\"jobs\"");
  EXPECT_EQ(instanceRefusal("65536\n1\n10\n"),
            "D_Entrada.txt, línea 1: el número de trabajos debe ser como mucho 65535, se "
            "encontró 65536");
  EXPECT_EQ(instanceRefusal("2\n-3\n10\n"),
            "D_Entrada.txt, línea 2: el número de máquinas debe ser al menos 1, se encontró -3");
  // 65535 · 65535 wraps to a small number in 32 bits.
  EXPECT_EQ(instanceRefusal("65535\n65535\n10\n"),
            "D_Entrada.txt, línea 2: el número de operaciones (trabajos × máquinas) debe ser "
            "como mucho 16777216, se encontró 65535 × 65535 = 4294836225");
  EXPECT_EQ(instanceRefusal("4097\n4096\n10\n"),
            "D_Entrada.txt, línea 2: el número de operaciones (trabajos × máquinas) debe ser "
            "como mucho 16777216, se encontró 4097 × 4096 = 16781312");
}

TEST(InstanceReader, RefusesHeaderNumbersBeyondTheIntRangeQuotingThem) {
  const std::string refusal =
      "se esperaba un número entero de -2147483648 a 2147483647, se "
      "encontró ";
  EXPECT_EQ(instanceRefusal("4294967296\n3\n10\n"),
            "D_Entrada.txt, línea 1: " + refusal + "\"4294967296\"");
  EXPECT_EQ(instanceRefusal("2\n 99999999999999999999 máquinas\n10\n"),
            "D_Entrada.txt, línea 2: " + refusal + "\" 99999999999999999999 máquinas\"");
  EXPECT_EQ(instanceRefusal("2\n3\n-2147483649\n3 2 4\n2 5 1\n1 2 3\n3 1 2\n"),
            "D_Entrada.txt, línea 3: " + refusal + "\"-2147483649\"");
  EXPECT_EQ(instanceRefusal("2\n3\n2147483648\n3 2 4\n2 5 1\n1 2 3\n3 1 2\n"),
            "D_Entrada.txt, línea 3: " + refusal + "\"2147483648\"");
  // The limits themselves are numbers like any other.
  EXPECT_EQ(instanceFrom("2\n3\n2147483647\n3 2 4\n2 5 1\n1 2 3\n3 1 2\n").targetMakespan, INT_MAX);
  EXPECT_EQ(instanceFrom("2\n3\n-2147483648\n3 2 4\n2 5 1\n1 2 3\n3 1 2\n").targetMakespan,
            INT_MIN);
  // Matrix values beyond the range were refused before, as the file writes them.
  EXPECT_EQ(instanceRefusal("2\n3\n10\n3 2 4\n2 5 1\n1 2 3\n3 1 4294967298\n"),
            "D_Entrada.txt, línea 7: la ruta del trabajo 2 no es una permutación de 1..3 (la "
            "máquina 4294967298 no existe)");
}

TEST(InstanceReader, RefusesShortFiles) {
  EXPECT_EQ(instanceRefusal("2\n3\n10\n3 2 4\n"),
            "D_Entrada.txt, línea 5: se esperaban los tiempos de proceso del trabajo 2, se "
            "encontró el final del archivo");
  EXPECT_EQ(instanceRefusal("2\n3\n10\n3 2 4\n2 5 1\n1 2 3\n"),
            "D_Entrada.txt, línea 7: se esperaba la ruta del trabajo 2, se encontró el final del "
            "archivo");
}

TEST(InstanceReader, RefusesFieldsWithoutDigits) {
  EXPECT_EQ(instanceRefusal("2\n3\n10\n3 2  4\n2 5\n1 2 3\n3 1 2\n"),
            "D_Entrada.txt, línea 4: se esperaba un número entero, se encontró un campo vacío "
            "(un espacio de más)");
  EXPECT_EQ(instanceRefusal("2\n3\n10\n3 2 4\n 2 5 1\n1 2 3\n3 1 2\n"),
            "D_Entrada.txt, línea 5: se esperaba un número entero, se encontró un campo vacío "
            "(un espacio de más)");
  EXPECT_EQ(instanceRefusal("2\n3\n10\n3 2 4  \n2 5 1\n1 2 3\n3 1 2\n"),
            "D_Entrada.txt, línea 4: se esperaba un número entero, se encontró un campo vacío "
            "(un espacio de más)");
  EXPECT_EQ(instanceRefusal("2\n3\n10\n3 2 4\nabc 5 1\n1 2 3\n3 1 2\n"),
            "D_Entrada.txt, línea 5: se esperaba un número entero, se encontró \"abc\"");
  EXPECT_EQ(instanceRefusal("2\n3\n10\n3 2 4\n2 5 1\n1 - 3\n3 1 2\n"),
            "D_Entrada.txt, línea 6: se esperaba un número entero, se encontró \"-\"");
  EXPECT_EQ(instanceRefusal("1\n1\n10\n5\n" + std::string(60, 'x') + "\n"),
            "D_Entrada.txt, línea 5: se esperaba un número entero, se encontró \"" +
                std::string(40, 'x') + "...\"");
}

TEST(InstanceReader, QuotesFieldsEscapedAndUncut) {
  EXPECT_EQ(instanceRefusal("2\n3\n10\n3 2 4\n\tabc 5 1\n1 2 3\n3 1 2\n"),
            "D_Entrada.txt, línea 5: se esperaba un número entero, se encontró \"\\tabc\"");
  EXPECT_EQ(instanceRefusal("2\n3\n10\n3 2 4\n2 5 1\n\x01\x1b[0m 2 3\n3 1 2\n"),
            "D_Entrada.txt, línea 6: se esperaba un número entero, se encontró "
            "\"\\x01\\x1b[0m\"");
  // 1 + 19 · 2 bytes fit the 40 shown; the twentieth "ñ" would be cut in two.
  std::string longWord = "x";
  std::string shownWord = "x";
  for (int k = 0; k < 30; ++k) longWord += "ñ";
  for (int k = 0; k < 19; ++k) shownWord += "ñ";
  EXPECT_EQ(
      instanceRefusal("1\n1\n10\n5\n" + longWord + "\n"),
      "D_Entrada.txt, línea 5: se esperaba un número entero, se encontró \"" + shownWord + "...\"");
  // Three- and four-byte characters straddling the 40th byte are left out whole: 2 + 12 · 3 and
  // 3 + 9 · 4 bytes are shown.
  auto repeated = [](const std::string& head, const char* character, int count) {
    std::string text = head;
    for (int k = 0; k < count; ++k) text += character;
    return text;
  };
  EXPECT_EQ(instanceRefusal("1\n1\n10\n5\n" + repeated("xx", "€", 20) + "\n"),
            "D_Entrada.txt, línea 5: se esperaba un número entero, se encontró \"" +
                repeated("xx", "€", 12) + "...\"");
  EXPECT_EQ(instanceRefusal("1\n1\n10\n5\n" + repeated("xxx", "𝄞", 20) + "\n"),
            "D_Entrada.txt, línea 5: se esperaba un número entero, se encontró \"" +
                repeated("xxx", "𝄞", 9) + "...\"");
  // An ill-formed byte is escaped as four bytes, which must fit whole as well.
  EXPECT_EQ(instanceRefusal("1\n1\n10\n5\n" + std::string(37, 'x') + "\xff\n"),
            "D_Entrada.txt, línea 5: se esperaba un número entero, se encontró \"" +
                std::string(37, 'x') + "...\"");
}

TEST(InstanceReader, RefusesWrongValueCounts) {
  EXPECT_EQ(instanceRefusal("2\n3\n10\n3 2 4 9\n2 5 1\n1 2 3\n3 1 2\n"),
            "D_Entrada.txt, línea 5: se esperaban 6 tiempos de proceso (2 trabajos × 3 "
            "máquinas) en las líneas 4 a 5, se encontraron 7");
  // An empty line counts as one of the J lines but holds no value.
  EXPECT_EQ(instanceRefusal("2\n3\n10\n3 2 4\n\n2 5 1\n1 2 3\n3 1 2\n"),
            "D_Entrada.txt, línea 5: se esperaban 6 tiempos de proceso (2 trabajos × 3 "
            "máquinas) en las líneas 4 a 5, se encontraron 3");
  EXPECT_EQ(instanceRefusal("2\n3\n10\n3 2 4\n2 5 1\n1 2 3\n3 1\n"),
            "D_Entrada.txt, línea 7: se esperaban 6 valores de ruta (2 trabajos × 3 máquinas) "
            "en las líneas 6 a 7, se encontraron 5");
  EXPECT_EQ(instanceRefusal("1\n3\n10\n3 2\n1 2 3\n"),
            "D_Entrada.txt, línea 4: se esperaban 3 tiempos de proceso (1 trabajo × 3 máquinas) "
            "en la línea 4, se encontraron 2");
  EXPECT_EQ(instanceRefusal("1\n1\n10\n\n1\n"),
            "D_Entrada.txt, línea 4: se esperaba 1 tiempo de proceso (1 trabajo × 1 máquina) en "
            "la línea 4, se encontraron 0");
}

TEST(InstanceReader, RefusesNegativeTimes) {
  EXPECT_EQ(instanceRefusal("2\n3\n10\n3 -2 4\n2 5 1\n1 2 3\n3 1 2\n"),
            "D_Entrada.txt, línea 4: el tiempo de proceso del trabajo 1 en la máquina 2 debe ser "
            "al menos 0, se encontró -2");
  // The fifth value is job 2 on machine 2 wherever the lines break.
  EXPECT_EQ(instanceRefusal("2\n3\n10\n3 2\n4 2 -5 1\n1 2 3\n3 1 2\n"),
            "D_Entrada.txt, línea 5: el tiempo de proceso del trabajo 2 en la máquina 2 debe ser "
            "al menos 0, se encontró -5");
  EXPECT_EQ(instanceRefusal("1\n1\n10\n-1\n1\n"),
            "D_Entrada.txt, línea 4: el tiempo de proceso del trabajo 1 en la máquina 1 debe ser "
            "al menos 0, se encontró -1");
  // Shown as written, not as the INT_MIN it saturates to.
  EXPECT_EQ(instanceRefusal("1\n2\n10\n3 -99999999999\n1 2\n"),
            "D_Entrada.txt, línea 4: el tiempo de proceso del trabajo 1 en la máquina 2 debe ser "
            "al menos 0, se encontró -99999999999");
  EXPECT_EQ(instanceFrom("2\n3\n10\n3 0 4\n2 5 1\n1 2 3\n3 1 2\n").times[1], 0);
}

TEST(InstanceReader, RefusesTimesBeyondExactMakespans) {
  // A time beyond the int range is refused, not saturated, before the total is looked at.
  EXPECT_EQ(instanceRefusal("1\n2\n10\n3 2147483648\n1 2\n"),
            "D_Entrada.txt, línea 4: el tiempo de proceso del trabajo 1 en la máquina 2 debe ser "
            "como mucho 2147483647, se encontró 2147483648");
  // The total is counted over every job, across the lines, in 64 bits.
  EXPECT_EQ(instanceRefusal("2\n1\n10\n16777216\n1\n1\n1\n"),
            "D_Entrada.txt, línea 5: la suma de los tiempos de proceso de las líneas 4 a 5 debe "
            "ser como mucho 16777216, se encontró 16777217");
  EXPECT_EQ(instanceRefusal("1\n2\n10\n2147483647 2147483647\n1 2\n"),
            "D_Entrada.txt, línea 4: la suma de los tiempos de proceso de la línea 4 debe ser como "
            "mucho 16777216, se encontró 4294967294");
  // Exactly 2^24 is still exact.
  EXPECT_EQ(instanceFrom("2\n1\n10\n16777215\n1\n1\n1\n").times, (std::vector<int>{16777215, 1}));
}

TEST(InstanceReader, RefusesRoutesThatAreNoPermutation) {
  EXPECT_EQ(instanceRefusal("2\n3\n10\n3 2 4\n2 5 1\n1 2 2\n3 1 2\n"),
            "D_Entrada.txt, línea 6: la ruta del trabajo 1 no es una permutación de 1..3 (la "
            "máquina 2 se repite)");
  EXPECT_EQ(instanceRefusal("2\n3\n10\n3 2 4\n2 5 1\n1 2 3\n3 4 2\n"),
            "D_Entrada.txt, línea 7: la ruta del trabajo 2 no es una permutación de 1..3 (la "
            "máquina 4 no existe)");
  EXPECT_EQ(instanceRefusal("2\n3\n10\n3 2 4\n2 5 1\n0 2 3\n3 1 2\n"),
            "D_Entrada.txt, línea 6: la ruta del trabajo 1 no es una permutación de 1..3 (la "
            "máquina 0 no existe)");
  // Job 1's row ends on line 7, where its machine 1 comes again.
  EXPECT_EQ(instanceRefusal("2\n3\n10\n3 2 4\n2 5 1\n1 2\n1 3 1 2\n"),
            "D_Entrada.txt, línea 7: la ruta del trabajo 1 no es una permutación de 1..3 (la "
            "máquina 1 se repite)");
  EXPECT_EQ(instanceFrom("2\n3\n10\n3 2 4\n2 5 1\n1 2\n3 3 1 2\n").routing,
            (std::vector<int>{1, 2, 3, 3, 1, 2}));

  std::string fiveJobs = "5\n6\n100\n";
  for (int j = 0; j < 5; ++j) fiveJobs += "1 2 3 4 5 6\n";
  for (int j = 1; j <= 5; ++j) fiveJobs += j == 3 ? "1 2 3 4 2 6\n" : "6 5 4 3 2 1\n";
  EXPECT_EQ(instanceRefusal(fiveJobs),
            "D_Entrada.txt, línea 11: la ruta del trabajo 3 no es una permutación de 1..6 (la "
            "máquina 2 se repite)");
}

TEST(ParameterReader, ReadsPairsInFileOrder) {
  Parameters p = parametersFrom(parameterText({"10", "1000", "3", "80", "-5", "1", "0", "1", "0",
                                               "1", "0", "1", "0", "1", "0", "1", "4", "2", "5"}));
  EXPECT_EQ(p.populationSize, 10);
  EXPECT_EQ(p.maxEvaluations, 1000);
  EXPECT_EQ(p.runCount, 3);
  EXPECT_EQ(p.crossoverPercent, 80);
  EXPECT_EQ(p.mutationPercent, -5);
  EXPECT_TRUE(p.scrambleMutationEnabled);
  EXPECT_FALSE(p.insertionMutationEnabled);
  EXPECT_TRUE(p.swapMutationEnabled);
  EXPECT_FALSE(p.neighbourSwapMutationEnabled);
  EXPECT_TRUE(p.segmentWrapCrossoverEnabled);
  EXPECT_FALSE(p.cycleCrossoverEnabled);
  EXPECT_TRUE(p.segmentFillCrossoverEnabled);
  EXPECT_FALSE(p.maskKeepCrossoverEnabled);
  EXPECT_TRUE(p.maskReorderCrossoverEnabled);
  EXPECT_FALSE(p.segmentInsertCrossoverEnabled);
  EXPECT_TRUE(p.precedenceCrossoverEnabled);
  EXPECT_EQ(p.mateCandidates, 4);
  EXPECT_EQ(p.crowdingGroups, 2);
  EXPECT_EQ(p.crowdingGroupSize, 5);

  // Labels with digits are ignored; "40 abc" is 40; CRLF and a missing final line feed are read.
  std::string text;
  const std::vector<std::string> values = withValue(2, "40 abc");
  for (size_t i = 0; i < values.size(); ++i) {
    text += "99 " + std::to_string(i) + "\r\n" + values[i] + (i + 1 < values.size() ? "\r\n" : "");
  }
  p = parametersFrom(text);
  EXPECT_EQ(p.populationSize, 10);
  EXPECT_EQ(p.maxEvaluations, 40);
  EXPECT_EQ(p.crowdingGroupSize, 4);

  p = parametersFrom(parameterText(validValues()) + "extra line\n5\n");
  EXPECT_EQ(p.crowdingGroupSize, 4);
}

TEST(ParameterReader, RefusesNumbersBeyondTheIntRangeQuotingThem) {
  const std::string refusal =
      "se esperaba un número entero de -2147483648 a 2147483647, se "
      "encontró ";
  EXPECT_EQ(parameterRefusal(withValue(2, "99999999999999999999")),
            "D_Algoritmo.txt, línea 4: " + refusal + "\"99999999999999999999\"");
  EXPECT_EQ(parameterRefusal(withValue(1, "4294967296")),
            "D_Algoritmo.txt, línea 2: " + refusal + "\"4294967296\"");
  EXPECT_EQ(parameterRefusal(withValue(5, "-2147483649 %")),
            "D_Algoritmo.txt, línea 10: " + refusal + "\"-2147483649 %\"");
  // A flag too: 4294967297 is no 1.
  EXPECT_EQ(parameterRefusal(withValue(6, "4294967297")),
            "D_Algoritmo.txt, línea 12: " + refusal + "\"4294967297\"");
  EXPECT_EQ(parameterRefusal(withValue(17, std::string(60, '9'))),
            "D_Algoritmo.txt, línea 34: " + refusal + "\"" + std::string(40, '9') + "...\"");
  // The first such line is named, in file order.
  std::vector<std::string> values = withValue(19, "4294967296");
  values[2] = "-99999999999";
  EXPECT_EQ(parameterRefusal(values), "D_Algoritmo.txt, línea 6: " + refusal + "\"-99999999999\"");

  EXPECT_EQ(parametersFrom(parameterText(withValue(2, "2147483647"))).maxEvaluations, INT_MAX);
  EXPECT_EQ(parametersFrom(parameterText(withValue(3, "-2147483648"))).runCount, INT_MIN);
}

TEST(ParameterReader, SetsFlagsOnlyForOne) {
  for (const char* enabling : {"1", "01", "1.0", " 1", "1 abc", "+1"}) {
    EXPECT_TRUE(parametersFrom(parameterText(withValue(6, enabling))).scrambleMutationEnabled)
        << enabling;
  }
  for (const char* disabling : {"0", "2", "-1", "abc", "", "11"}) {
    EXPECT_FALSE(parametersFrom(parameterText(withValue(6, disabling))).scrambleMutationEnabled)
        << disabling;
  }
}

TEST(ParameterReader, RefusesUnusableParameters) {
  TempDir dir;
  try {
    readParameters((dir.path / "D_Algoritmo.txt").string());
    FAIL() << "not refused";
  } catch (const InputError& error) {
    EXPECT_TRUE(error.cannotOpen());
    EXPECT_EQ(error.message, "No se ha podido abrir el archivo del ejemplo");
  }

  std::vector<std::string> values = validValues();
  values.pop_back();
  EXPECT_EQ(refusalOf([&] { parametersFrom(parameterText(values) + "Parametro 19\n"); }),
            "D_Algoritmo.txt, línea 38: se esperaban 38 líneas (19 pares de etiqueta y valor), se "
            "encontró el final del archivo");
  EXPECT_EQ(refusalOf([&] { parametersFrom(""); }),
            "D_Algoritmo.txt, línea 1: se esperaban 38 líneas (19 pares de etiqueta y valor), se "
            "encontró el final del archivo");

  EXPECT_EQ(parameterRefusal(withValue(1, "7")),
            "D_Algoritmo.txt, línea 2: el tamaño de población debe ser par y al menos 2, se "
            "encontró 7");
  EXPECT_EQ(parameterRefusal(withValue(1, "0")),
            "D_Algoritmo.txt, línea 2: el tamaño de población debe ser par y al menos 2, se "
            "encontró 0");
  EXPECT_EQ(parameterRefusal(withValue(1, "-2")),
            "D_Algoritmo.txt, línea 2: el tamaño de población debe ser par y al menos 2, se "
            "encontró -2");
  EXPECT_EQ(parameterRefusal(withValue(1, "diez")),
            "D_Algoritmo.txt, línea 2: el tamaño de población debe ser par y al menos 2, se "
            "encontró \"diez\"");

  values = validValues();
  values[3] = "-1";
  values[4] = "-5";
  EXPECT_EQ(parameterRefusal(values),
            "D_Algoritmo.txt, línea 10: el porcentaje de cruce o el de mutación debe ser al menos "
            "0 para llegar a 1000 evaluaciones, se encontraron -1 y -5");
  values[1] = "10";  // the budget is spent by the initial population alone
  EXPECT_EQ(parametersFrom(parameterText(values)).maxEvaluations, 10);

  values = validValues();
  values[10] = "0";
  values[15] = "2";
  EXPECT_EQ(parameterRefusal(values),
            "D_Algoritmo.txt, línea 20: se esperaba al menos un operador de cruce activado (un 1 "
            "en las líneas pares 20 a 32), no se encontró ninguno");

  EXPECT_EQ(parameterRefusal(withValue(17, "0")),
            "D_Algoritmo.txt, línea 34: el número de candidatos a pareja debe ser al menos 1, se "
            "encontró 0");
  EXPECT_EQ(parameterRefusal(withValue(18, "-1")),
            "D_Algoritmo.txt, línea 36: el número de grupos de reemplazo debe ser al menos 1, se "
            "encontró -1");
  EXPECT_EQ(parameterRefusal(withValue(19, "")),
            "D_Algoritmo.txt, línea 38: el tamaño de grupo de reemplazo debe ser al menos 1, se "
            "encontró una línea vacía");

  values = validValues();
  values[17] = "3";
  EXPECT_EQ(parameterRefusal(values),
            "D_Algoritmo.txt, línea 38: el número de grupos de reemplazo por su tamaño debe ser "
            "como mucho el tamaño de población 10, se encontró 3 × 4 = 12");
  // 65536 · 65536 wraps to 0 in 32 bits.
  values[17] = "65536";
  values[18] = "65536";
  EXPECT_EQ(parameterRefusal(values),
            "D_Algoritmo.txt, línea 38: el número de grupos de reemplazo por su tamaño debe ser "
            "como mucho el tamaño de población 10, se encontró 65536 × 65536 = 4294967296");
  values[17] = "2";
  values[18] = "5";
  EXPECT_EQ(parametersFrom(parameterText(values)).crowdingGroupSize, 5);
}

}  // namespace

}  // namespace jobshop
