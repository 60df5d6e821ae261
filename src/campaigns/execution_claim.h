// Who runs an execution: its running marker, created whole and exclusively, names the host, the
// runner and (once started) the child process, so that any number of runners, on this machine or
// on others sharing the folder, start each execution once.
#pragma once

#include <sys/types.h>

#include <string>

#include "campaigns/execution_state.h"
#include "support/failure.h"

namespace jobshop {

// What the running marker of an execution folder tells from here.
enum class ClaimLiveness {
  kNone,       // no running marker
  kLive,       // its runner or its child is a live process of this host
  kStale,      // a process of this host that no longer exists, or a marker that cannot be read
  kOtherHost,  // held by another host: never judged, never taken over from here
};

struct ClaimHolder {
  std::string host;
  long runner = 0;
  long child = 0;  // 0 until the child has started
  // When each process started (clock ticks after boot), so that a PID the kernel has since given
  // to another process is not taken for the claimant; 0 where unknown (markers of earlier
  // versions, or no /proc).
  unsigned long long runnerStart = 0;
  unsigned long long childStart = 0;
};

// The running marker's text: "HOST RUNNER CHILD\n", followed by " RUNNER_START CHILD_START" before
// the newline when the start times are known.
std::string claimText(const ClaimHolder& holder);

// This process as a runner on this host, with no child yet.
ClaimHolder thisRunner();

// The liveness of folder's running marker (folder ends in '/'); host, when given, receives the
// host it names.
ClaimLiveness claimLiveness(const std::string& folder, std::string* host = nullptr);

// The state an execution is acted on in, by every runner and by status alike: a running one whose
// claim is stale (cut off) counts as pending, since the next runner clears and repeats it.
// otherHost, when given, receives the host that holds a running one from another machine (else
// "").
ExecutionState effectiveState(const std::string& folder, std::string* otherHost = nullptr);

enum class ClaimResult {
  kClaimed,        // the marker is ours
  kHeldElsewhere,  // a live claim, or another host's, or a takeover lost to another runner
};

// Claims the execution in folder for this process: the marker is written under a name of its own
// and linked into place, which only one of several runners can do. A stale marker of this host is
// removed first, under the campaign's claim lock (campaignFolder + ".claims.lock") so that two
// runners taking over the same stale claim cannot both succeed.
// The failure is a marker that could not be written, and why.
OrFailure<ClaimResult> claimExecution(const std::string& campaignFolder, const std::string& folder);

// True when folder's running marker is exactly text: checked again before anything is cleared.
bool holdsClaim(const std::string& folder, const std::string& text);

// Rewrites our marker to name the child as well. False when it could not be written (the marker
// then still names the runner).
bool recordChild(const std::string& campaignFolder, const std::string& folder, pid_t child);

// Removes the running marker when it is still ours.
void releaseClaim(const std::string& folder);

// True when pid is a process of this host that has not ended (a zombie has ended).
bool processAlive(long pid);

// The same, for the process that started at start (0: whichever process has that PID now).
bool processAlive(long pid, unsigned long long start);

// When pid started, in clock ticks after boot (field 22 of /proc/PID/stat); 0 when it cannot be
// read.
unsigned long long processStartTime(long pid);

// The host name this program goes by in running markers.
std::string hostName();

}  // namespace jobshop
