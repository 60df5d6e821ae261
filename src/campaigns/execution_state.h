// The life of one execution folder: pending, running, done or failed, told by marker files that
// are written only once the execution's own files are complete.
#pragma once

#include <string>

#include "support/failure.h"

namespace jobshop {

enum class ExecutionState {
  kPending,  // never started, or cleared
  kRunning,  // a running marker and no outcome yet (or a run that was cut off)
  kDone,     // exited 0 and its completion marker was written after its files were complete
  kFailed,   // exited non-zero; its standard error is kept in "stderr.txt"
};

inline const char* const kDoneMarker = "done";
inline const char* const kFailedMarker = "failed";
inline const char* const kRunningMarker = "running";
// An execution's niching options, one line, beside its other inputs; absent for crowding, so
// that folders planned before methods existed hold the same inputs.
inline const char* const kNichingFileName = "niching";

// The state of the execution in folder (ending in '/').
ExecutionState executionState(const std::string& folder);

// Removes everything but the execution's inputs ("D_Entrada.txt", "D_Algoritmo.txt", "seed",
// "niching") and
// its running marker, so that the claimant can run it again from scratch. False when something
// could not be removed.
bool clearExecution(const std::string& folder);

// Writes marker with text under a name of this process's own and renames it into place, so that a
// marker is either absent or whole and nothing temporary is left. Returns nothing when written,
// else the system's reason.
MaybeFailure writeMarker(const std::string& folder, const char* marker, const std::string& text);

}  // namespace jobshop
