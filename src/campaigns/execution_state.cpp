// Marker files and clearing of execution folders.
#include "campaigns/execution_state.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "run/text_file_output.h"

namespace fs = std::filesystem;

namespace {

bool exists(const std::string& path) {
  std::error_code error;
  return fs::exists(path, error);
}

std::string hostName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return "unknown";
  return name;
}

}  // namespace

ExecutionState executionState(const std::string& folder) {
  if (exists(folder + kDoneMarker)) return ExecutionState::kDone;
  if (exists(folder + kFailedMarker)) return ExecutionState::kFailed;
  if (exists(folder + kRunningMarker)) return ExecutionState::kRunning;
  return ExecutionState::kPending;
}

bool runningMarkerIsStale(const std::string& folder) {
  std::ifstream in(folder + kRunningMarker);
  std::string host;
  long pid = 0;
  if (!(in >> host >> pid)) return true;
  if (host != hostName()) return false;  // another node's process: nothing to tell from here
  return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

bool clearExecution(const std::string& folder) {
  std::error_code error;
  bool ok = true;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (name == "D_Entrada.txt" || name == "D_Algoritmo.txt" || name == "seed") continue;
    std::error_code removeError;
    fs::remove_all(entry.path(), removeError);
    ok = ok && !removeError;
  }
  return ok && !error;
}

bool writeMarker(const std::string& folder, const char* marker, const std::string& text) {
  const std::string temporary = folder + "." + marker + ".tmp";
  if (!writeTextFile(temporary, text, WriteMode::kReplace).empty()) return false;
  std::error_code error;
  fs::rename(temporary, folder + marker, error);
  return !error;
}

std::string runningMarkerText() {
  std::ostringstream text;
  text << hostName() << " " << ::getpid() << "\n";
  return text.str();
}
