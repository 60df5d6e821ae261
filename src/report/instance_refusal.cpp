// The report's words for an instance file it cannot use: the shared reader words its refusals for
// the main run, in Spanish, while the report speaks English.
#include "report/instance_refusal.h"

#include <regex>
#include <utility>

namespace jobshop {

namespace {

// What a refusal says was found: a number, quoted text (passed on as it is), or one of these.
std::string found(const std::string& text) {
  if (text == "una línea vacía") return "an empty line";
  if (text == "un campo vacío (un espacio de más)") return "an empty field (one space too many)";
  if (text == "el final del archivo") return "the end of the file";
  return text;
}

std::string expected(const std::string& what) {
  static const std::pair<std::regex, const char*> kThings[] = {
      {std::regex("el número de trabajos"), "the number of jobs"},
      {std::regex("el número de máquinas"), "the number of machines"},
      {std::regex("el makespan objetivo"), "the target makespan"},
      {std::regex("los tiempos de proceso del trabajo (\\d+)"), "the processing times of job $1"},
      {std::regex("la ruta del trabajo (\\d+)"), "the routing of job $1"},
  };
  for (const auto& [pattern, english] : kThings) {
    std::smatch match;
    if (std::regex_match(what, match, pattern)) return match.format(english);
  }
  return "another line";
}

std::string reasonInEnglish(const std::string& reason) {
  static const std::pair<std::regex, const char*> kReasons[] = {
      {std::regex("el número de trabajos debe ser al menos 1, se encontró (.*)"),
       "the number of jobs must be at least 1, found $1"},
      {std::regex("el número de máquinas debe ser al menos 1, se encontró (.*)"),
       "the number of machines must be at least 1, found $1"},
      {std::regex("el número de trabajos debe ser como mucho (\\d+), se encontró (\\d+)"),
       "the number of jobs must be at most $1, found $2"},
      {std::regex("el número de operaciones \\(trabajos × máquinas\\) debe ser como mucho (\\d+), "
                  "se encontró (.*)"),
       "the number of operations (jobs × machines) must be at most $1, found $2"},
      {std::regex("la suma de los tiempos de proceso de las? líneas? (\\d+)(?: a (\\d+))? debe ser "
                  "como mucho (\\d+), se encontró (\\d+)"),
       "the processing times on lines $1 to $2 must add up to at most $3, found $4"},
      {std::regex("se esperaba un número entero, se encontró (.*)"),
       "expected a whole number, found $1"},
      {std::regex("se esperaba un número entero de (-?\\d+) a (\\d+), se encontró (.*)"),
       "expected a whole number from $1 to $2, found $3"},
      {std::regex("el tiempo de proceso del trabajo (\\d+) en la máquina (\\d+) debe ser al menos "
                  "0, se encontró (-?\\d+)"),
       "the processing time of job $1 on machine $2 must be at least 0, found $3"},
      {std::regex("la ruta del trabajo (\\d+) no es una permutación de 1\\.\\.(\\d+) \\(la "
                  "máquina (-?\\d+) no existe\\)"),
       "the routing of job $1 is not a permutation of 1..$2 (machine $3 does not exist)"},
      {std::regex("la ruta del trabajo (\\d+) no es una permutación de 1\\.\\.(\\d+) \\(la "
                  "máquina (-?\\d+) se repite\\)"),
       "the routing of job $1 is not a permutation of 1..$2 (machine $3 appears twice)"},
      {std::regex("se esperaban? (\\d+) (?:tiempos? de proceso|valor(?:es)? de ruta) \\((\\d+) "
                  "trabajos? × (\\d+) máquinas?\\) en las? líneas? (\\d+)(?: a (\\d+))?, se "
                  "encontr(?:ó|aron) (\\d+)"),
       "expected $1 values ($2 jobs × $3 machines) on lines $4 to $5, found $6"},
  };
  std::smatch match;
  static const std::regex kEnded("se esperaban? (.*), se encontró el final del archivo");
  if (std::regex_match(reason, match, kEnded)) {
    return "expected " + expected(match[1]) + ", found the end of the file";
  }
  for (const auto& [pattern, english] : kReasons) {
    if (!std::regex_match(reason, match, pattern)) continue;
    std::string text = match.format(english);
    // A matrix of one job has one line, so there is no last line to name.
    if (const std::size_t at = text.find(" to ,"); at != std::string::npos) {
      text.replace(at, 5, ",");
      text.replace(text.find("on lines "), 9, "on line ");
    }
    // The last group is what was found; the words for it are the reader's too.
    const std::string last = match[match.size() - 1];
    if (const std::size_t at = text.rfind(last); at != std::string::npos && !last.empty()) {
      text.replace(at, last.size(), found(last));
    }
    return text;
  }
  return "the main run refuses this line";
}

}  // namespace

std::string instanceRefusalInEnglish(const InputError& error, const std::string& path) {
  if (error.cannotOpen) return "cannot open " + path;
  static const std::regex kLine("(.*), línea (\\d+): (.*)");
  std::smatch match;
  if (!std::regex_match(error.message, match, kLine)) {
    return path + ": the main run refuses this instance";
  }
  return match[1].str() + ":" + match[2].str() + ": " + reasonInEnglish(match[3]);
}

}  // namespace jobshop
