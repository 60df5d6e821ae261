// Scripts are written for a shell on another machine: nothing of a path or a name may run there.
#include "campaigns/sbatch_script.h"

#include <cctype>

#include "campaigns/process_capture.h"

namespace jobshop {

std::string shellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string sbatchDirective(const char* option, const std::string& text) {
  std::string line = "#SBATCH ";
  line += option;
  line += '=';
  for (char c : text)
    line += std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.' ||
                    c == ':' || c == ','
                ? c
                : '_';
  return line;
}

OrFailure<std::string> submitSbatch(const std::string& scriptPath,
                                    const std::vector<std::string>& options) {
  if (!commandExists("sbatch")) {
    return Failure{"sbatch is not installed here; submit " + scriptPath +
                   " on the cluster with: sbatch " + scriptPath};
  }
  std::vector<std::string> command = {"sbatch", "--parsable"};
  command.insert(command.end(), options.begin(), options.end());
  command.push_back(scriptPath);
  const CapturedOutput submitted = captureCommand(command);
  // --parsable prints "id" or "id;cluster".
  std::string id = submitted.out.substr(0, submitted.out.find_first_of(";\n"));
  if (!submitted.started || submitted.status != 0 || id.empty())
    return Failure{"sbatch refused " + scriptPath};
  return id;
}

}  // namespace jobshop
