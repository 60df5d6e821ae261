// Naming the inputs the main run cannot open, and the commands that write them.
#include "run/missing_input_hint.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "input/instance_reader.h"
#include "input/parameter_reader.h"
#include "support/printable_text.h"

namespace jobshop {

namespace {

namespace fs = std::filesystem;

// path as one word of a shell command: in single quotes unless every byte is plain.
std::string shellWord(const std::string& path) {
  if (!path.empty() && path.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                              "0123456789_./-+,:=@%") == std::string::npos)
    return path;
  std::string word = "'";
  for (char c : path) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return word + "'";
}

bool exists(const std::string& path) {
  std::error_code ignored;
  // A link to nothing is there, and in the way of the commands that would write the file.
  return fs::exists(fs::symlink_status(path, ignored));
}

// "" when path may be read, otherwise why not. Asked without opening it, so that a named pipe put
// there does not hold the hint up.
std::string unreadable(const std::string& path) {
  if (::access(path.c_str(), R_OK) != 0) return std::strerror(errno);
  return "";
}

// The command that writes the missing input name in folder.
std::string commandFor(const std::string& name, const std::string& folder) {
  if (name == kInstanceFileName)
    return "jobshop-niching import --output " + shellWord(folder + name) + " ARCHIVO";
  // init writes in the current folder only.
  return folder.empty() ? "jobshop-niching init"
                        : "cd " + shellWord(folder) + " && jobshop-niching init";
}

// What the file holds, and how its command writes it.
std::string whatItHolds(const std::string& name) {
  return name == kInstanceFileName
             ? "la instancia; la escribe a partir de un ARCHIVO en formato estándar o de Taillard"
             : "los parámetros; los escribe con sus valores por omisión";
}

}  // namespace

std::string missingInputHints(const std::string& folder) {
  std::error_code ignored;
  if (!folder.empty() && !fs::is_directory(folder, ignored))
    return "No existe la carpeta \"" + printableText(folder) + "\" de --dir\n";
  std::string hints;
  for (const char* name : {kInstanceFileName, kParametersFileName}) {
    const std::string path = folder + name;
    if (!exists(path)) {
      hints += "Falta \"" + printableText(path) + "\", " + whatItHolds(name) + ": " +
               commandFor(name, folder) + "\n";
    } else if (const std::string why = unreadable(path); !why.empty()) {
      hints += "No se puede leer \"" + printableText(path) + "\" (" + why + ")\n";
    }
  }
  return hints;
}

}  // namespace jobshop
