// The instance reader: header lines, the two matrices under the literal field rule, and the
// checks that refuse an instance instead of storing garbage.
#include "input/instance_reader.h"

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "input/line_reader.h"
#include "input/read_warnings.h"
#include "input/refusal.h"

namespace jobshop {

namespace {

struct SourceFile {
  std::string name;
  std::vector<std::string> lines;
};

enum class Matrix { kTimes, kRouting };

// `expectation` is the whole "se esperaba..." phrase, since its verb agrees with what is expected.
const std::string& lineOrRefuse(const SourceFile& file, size_t lineNumber,
                                const std::string& expectation) {
  if (lineNumber > file.lines.size()) {
    refuseLine(file.name, lineNumber, expectation + ", se encontró el final del archivo");
  }
  return file.lines[lineNumber - 1];
}

std::string counted(std::int64_t n, const char* singular, const char* plural) {
  return std::to_string(n) + " " + (n == 1 ? singular : plural);
}

std::string expectedLine(Matrix matrix, int job) {
  return (matrix == Matrix::kTimes ? "se esperaban los tiempos de proceso del trabajo "
                                   : "se esperaba la ruta del trabajo ") +
         std::to_string(job);
}

std::string linesPhrase(size_t firstLine, size_t lastLine) {
  return lastLine == firstLine
             ? "la línea " + std::to_string(firstLine)
             : "las líneas " + std::to_string(firstLine) + " a " + std::to_string(lastLine);
}

// The sign and digits convertDecimal read, as written: a saturated value is shown as the file has
// it, not as the limit it was cut to.
std::string writtenNumber(std::string_view field) {
  // A field holds no space or line feed, so these are the blanks convertDecimal may have skipped.
  const size_t start = field.find_first_not_of("\t\v\f\r");
  size_t end = start;
  if (field[end] == '+' || field[end] == '-') ++end;
  while (end < field.size() && field[end] >= '0' && field[end] <= '9') ++end;
  return std::string(field.substr(start, end - start));
}

[[noreturn]] void refuseCount(const SourceFile& file, Matrix matrix, const Instance& instance,
                              size_t firstLine, size_t found) {
  const std::int64_t expected = std::int64_t{instance.jobs} * instance.machines;
  const size_t lastLine = firstLine + static_cast<size_t>(instance.jobs) - 1;
  std::string text = expected == 1 ? "se esperaba " : "se esperaban ";
  text += matrix == Matrix::kTimes ? counted(expected, "tiempo de proceso", "tiempos de proceso")
                                   : counted(expected, "valor de ruta", "valores de ruta");
  text += " (" + counted(instance.jobs, "trabajo", "trabajos") + " × " +
          counted(instance.machines, "máquina", "máquinas") + ") en " +
          linesPhrase(firstLine, lastLine);
  text += found == 1 ? ", se encontró 1" : ", se encontraron " + std::to_string(found);
  refuseLine(file.name, lastLine, text);
}

// Reads the J lines from firstLine on into `values` (J·M places, row by row). The running index
// goes on across lines, so only the order and the total count of the values matter, not where the
// lines break. Surplus values are counted but not stored, and refused once all J lines are read.
void readMatrixLines(const SourceFile& file, size_t firstLine, Matrix matrix,
                     const Instance& instance, std::vector<int>& values, FirstLossyRead& lossy) {
  const size_t machines = static_cast<size_t>(instance.machines);
  const size_t total = static_cast<size_t>(instance.jobs) * machines;
  values.assign(total, 0);
  // seenInRow[m] == row + 1 once machine m has appeared in the routing row being read.
  std::vector<size_t> seenInRow(matrix == Matrix::kRouting ? machines + 1 : 0, 0);
  size_t k = 0;
  for (int job = 1; job <= instance.jobs; ++job) {
    const size_t lineNumber = firstLine + static_cast<size_t>(job) - 1;
    const std::string& line = lineOrRefuse(file, lineNumber, expectedLine(matrix, job));
    auto refuse = [&](const std::string& text) { refuseLine(file.name, lineNumber, text); };
    forEachMatrixField(line, [&](std::string_view field) {
      const DecimalValue converted = convertDecimal(field);
      const int value = converted.value;
      lossy.note(lineNumber, field, converted);
      if (!converted.hasDigits) {
        refuse("se esperaba un número entero, se encontró " +
               (field.empty() ? std::string("un campo vacío (un espacio de más)") : quoted(field)));
      }
      auto shown = [&] {
        return converted.outOfRange ? writtenNumber(field) : std::to_string(value);
      };
      if (k < total) {
        const size_t row = k / machines;
        // A time beyond the int range is refused rather than stored as the limit it saturated to.
        if (matrix == Matrix::kTimes && (value < 0 || converted.outOfRange)) {
          refuse("el tiempo de proceso del trabajo " + std::to_string(row + 1) + " en la máquina " +
                 std::to_string(k % machines + 1) +
                 (value < 0 ? " debe ser al menos 0" : " debe ser como mucho 2147483647") +
                 ", se encontró " + shown());
        }
        if (matrix == Matrix::kRouting) {
          auto refuseRoute = [&](const char* reason) {
            refuse("la ruta del trabajo " + std::to_string(row + 1) +
                   " no es una permutación de 1.." + std::to_string(machines) + " (la máquina " +
                   shown() + reason + ")");
          };
          if (value < 1 || static_cast<size_t>(value) > machines) refuseRoute(" no existe");
          size_t& seen = seenInRow[static_cast<size_t>(value)];
          if (seen == row + 1) refuseRoute(" se repite");
          seen = row + 1;
        }
        values[k] = value;
      }
      ++k;
    });
  }
  if (k != total) refuseCount(file, matrix, instance, firstLine, k);
}

// No makespan exceeds the sum of all times, and a makespan is a 32-bit float, exact only up to
// 2^24: beyond, distinct makespans would round to the same value and compare as equal.
void checkTotalTime(const SourceFile& file, const Instance& instance, size_t firstLine) {
  std::int64_t total = 0;
  for (const int time : instance.times) total += time;
  if (total <= kMaxTotalTime) return;
  const size_t lastLine = firstLine + static_cast<size_t>(instance.jobs) - 1;
  refuseLine(file.name, lastLine,
             "la suma de los tiempos de proceso de " + linesPhrase(firstLine, lastLine) +
                 " debe ser como mucho " + std::to_string(kMaxTotalTime) + ", se encontró " +
                 std::to_string(total));
}

// Converts the whole line `lineNumber`, refusing a value beyond the int range.
DecimalValue readWholeLine(const SourceFile& file, size_t lineNumber, const std::string& what,
                           FirstLossyRead& lossy) {
  const std::string& line = lineOrRefuse(file, lineNumber, "se esperaba " + what);
  const DecimalValue value = convertDecimal(line);
  if (value.outOfRange) refuseOutOfRange(file.name, lineNumber, line);
  lossy.note(lineNumber, line, value);
  return value;
}

// Converts the whole line `lineNumber` as a count that must be at least 1.
int readCount(const SourceFile& file, size_t lineNumber, const std::string& what,
              FirstLossyRead& lossy) {
  const DecimalValue count = readWholeLine(file, lineNumber, what, lossy);
  const std::string& line = file.lines[lineNumber - 1];
  if (count.value < 1) {
    refuseLine(file.name, lineNumber,
               what + " debe ser al menos 1, se encontró " + foundValue(count, line));
  }
  return count.value;
}

// A target below every makespan the instance can have: any positive time makes every makespan at
// least 1, and no makespan is below 0.
std::optional<std::string> unreachableTarget(const std::string& fileName,
                                             const Instance& instance) {
  bool anyTime = false;
  for (const int time : instance.times) anyTime = anyTime || time > 0;
  const int lowest = anyTime ? 1 : 0;
  if (instance.targetMakespan >= lowest) return std::nullopt;
  return fileName + ", línea 3: el makespan objetivo " + std::to_string(instance.targetMakespan) +
         " no se alcanza nunca, todo makespan es al menos " + std::to_string(lowest);
}

}  // namespace

Instance readInstance(const std::string& path, std::vector<std::string>* warnings) {
  std::optional<std::vector<std::string>> lines = readFileLines(path);
  if (!lines) refuseUnopened();
  return parseInstanceLines(std::move(*lines), fileNameOf(path), warnings);
}

Instance parseInstanceLines(std::vector<std::string> lines, const std::string& fileName,
                            std::vector<std::string>* warnings) {
  const SourceFile file{fileName, std::move(lines)};
  FirstLossyRead lossy{fileName, std::nullopt};

  Instance instance;
  instance.jobs = readCount(file, 1, "el número de trabajos", lossy);
  if (instance.jobs > kMaxJobs) {
    refuseLine(file.name, 1,
               "el número de trabajos debe ser como mucho " + std::to_string(kMaxJobs) +
                   ", se encontró " + std::to_string(instance.jobs));
  }
  instance.machines = readCount(file, 2, "el número de máquinas", lossy);
  const std::int64_t genes = std::int64_t{instance.jobs} * instance.machines;
  if (genes > kMaxGenes) {
    refuseLine(file.name, 2,
               "el número de operaciones (trabajos × máquinas) debe ser como mucho " +
                   std::to_string(kMaxGenes) + ", se encontró " + std::to_string(instance.jobs) +
                   " × " + std::to_string(instance.machines) + " = " + std::to_string(genes));
  }
  instance.targetMakespan = readWholeLine(file, 3, "el makespan objetivo", lossy).value;

  const size_t jobs = static_cast<size_t>(instance.jobs);
  readMatrixLines(file, 4, Matrix::kTimes, instance, instance.times, lossy);
  checkTotalTime(file, instance, 4);
  readMatrixLines(file, 4 + jobs, Matrix::kRouting, instance, instance.routing, lossy);
  lossy.passOn(warnings);
  if (warnings != nullptr) {
    if (std::optional<std::string> target = unreachableTarget(file.name, instance))
      warnings->push_back(std::move(*target));
  }
  return instance;
}

}  // namespace jobshop
