// The life of one execution folder: pending, running, done or failed, told by marker files that
// are written only once the execution's own files are complete.
#pragma once

#include <string>

enum class ExecutionState {
  kPending,  // never started, or cleared
  kRunning,  // a running marker and no outcome yet (or a run that was cut off)
  kDone,     // exited 0 and its completion marker was written after its files were complete
  kFailed,   // exited non-zero; its standard error is kept in "stderr.txt"
};

inline const char* const kDoneMarker = "done";
inline const char* const kFailedMarker = "failed";
inline const char* const kRunningMarker = "running";

// The state of the execution in folder (ending in '/').
ExecutionState executionState(const std::string& folder);

// True when the running marker names a process of this host that no longer exists: the run was
// cut off (killed, power cut) and its files may be half written.
bool runningMarkerIsStale(const std::string& folder);

// The running marker's text for this process: host name and process id.
std::string runningMarkerText();

// Removes everything but the execution's inputs ("D_Entrada.txt", "D_Algoritmo.txt", "seed"), so
// that it can run again from scratch. False when something could not be removed.
bool clearExecution(const std::string& folder);

// Writes marker with text through a temporary file and a rename, so that a marker is either
// absent or whole. False when it could not be written.
bool writeMarker(const std::string& folder, const char* marker, const std::string& text);
