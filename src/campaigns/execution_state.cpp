// Marker files and clearing of execution folders.
#include "campaigns/execution_state.h"

#include <filesystem>

#include "input/instance_reader.h"
#include "input/parameter_reader.h"
#include "results/output_clash.h"
#include "support/text_file_output.h"

namespace jobshop {

namespace fs = std::filesystem;

namespace {

bool exists(const std::string& path) {
  std::error_code error;
  return fs::exists(path, error);
}

}  // namespace

ExecutionState executionState(const std::string& folder) {
  if (exists(folder + kDoneMarker)) return ExecutionState::kDone;
  if (exists(folder + kFailedMarker)) return ExecutionState::kFailed;
  if (exists(folder + kRunningMarker)) return ExecutionState::kRunning;
  return ExecutionState::kPending;
}

bool clearExecution(const std::string& folder) {
  std::error_code error;
  bool ok = true;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (name == kInstanceFileName || name == kParametersFileName || name == "seed" ||
        name == kNichingFileName || name == kRunningMarker)
      continue;
    std::error_code removeError;
    fs::remove_all(entry.path(), removeError);
    ok = ok && !removeError;
  }
  return ok && !error;
}

MaybeFailure writeMarker(const std::string& folder, const char* marker, const std::string& text) {
  // A marker linked to one of the execution's inputs or records would replace it.
  if (const std::optional<std::string> record =
          clashingFile(folder + marker, folderRecordFiles(folder)))
    return Failure{clashReason(folder + marker, *record)};
  return writeTextFile(folder + marker, text, WriteMode::kReplace);
}

}  // namespace jobshop
