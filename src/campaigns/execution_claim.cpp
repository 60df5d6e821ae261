// Running markers: exclusive creation by link(2), which is atomic on local and network file
// systems alike, and liveness by the processes they name.
#include "campaigns/execution_claim.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <sstream>

#include "campaigns/execution_state.h"
#include "results/file_digest.h"
#include "support/bounded_file.h"
#include "support/text_file_output.h"
#include "support/text_files.h"

namespace jobshop {

namespace {

std::string markerPath(const std::string& folder) { return folder + kRunningMarker; }

// A name no other process uses at the same time, on the marker's file system but outside the
// execution folders, which their claimants clear.
std::string scratchPath(const std::string& campaignFolder) {
  return campaignFolder + "." + kRunningMarker + "." + hostName() + "." +
         std::to_string(::getpid()) + ".tmp";
}

bool parseHolder(const std::string& text, ClaimHolder& holder) {
  std::istringstream fields(text);
  if (!(fields >> holder.host >> holder.runner)) return false;
  if (!(fields >> holder.child)) holder.child = 0;  // markers of earlier versions name one process
  if (!(fields >> holder.runnerStart >> holder.childStart))
    holder.runnerStart = holder.childStart = 0;
  return true;
}

ClaimLiveness livenessOf(const std::optional<std::string>& text, std::string* host) {
  if (!text) return ClaimLiveness::kNone;
  ClaimHolder holder;
  if (!parseHolder(*text, holder)) return ClaimLiveness::kStale;
  if (host != nullptr) *host = holder.host;
  if (holder.host != hostName()) return ClaimLiveness::kOtherHost;
  return processAlive(holder.runner, holder.runnerStart) ||
                 processAlive(holder.child, holder.childStart)
             ? ClaimLiveness::kLive
             : ClaimLiveness::kStale;
}

// Serialises takeovers of stale claims among the runners of this host; the kernel lets go of the
// lock when its holder dies, so it can never be left behind.
struct ClaimLock {
  int fd;
  explicit ClaimLock(const std::string& campaignFolder)
      : fd(::open((campaignFolder + ".claims.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
    while (fd >= 0 && ::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
  }
  ~ClaimLock() {
    if (fd >= 0) ::close(fd);
  }
  ClaimLock(const ClaimLock&) = delete;
  ClaimLock& operator=(const ClaimLock&) = delete;
};

// Removes the stale marker whose text was judged, unless another runner replaced it meanwhile.
bool removeStale(const std::string& campaignFolder, const std::string& folder,
                 const std::string& judged) {
  const ClaimLock lock(campaignFolder);
  if (lock.fd < 0) return false;
  const std::optional<std::string> now = readWholeFile(markerPath(folder), kMaxMarkerFileBytes);
  if (!now) return true;
  if (*now != judged || livenessOf(now, nullptr) != ClaimLiveness::kStale) return false;
  return ::unlink(markerPath(folder).c_str()) == 0 || errno == ENOENT;
}

MaybeFailure writeScratch(const std::string& path, const std::string& text) {
  ::unlink(path.c_str());
  MaybeFailure failure = writeTextFile(path, text, WriteMode::kCreateNew);
  if (failure) ::unlink(path.c_str());
  return failure;
}

}  // namespace

std::string hostName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "unknown";
  return name;
}

namespace {

// The fields of /proc/PID/stat after the command's name, which may itself hold spaces and ')'.
std::optional<std::string> statFields(long pid) {
  const std::optional<std::string> stat =
      readWholeFile("/proc/" + std::to_string(pid) + "/stat", kMaxMarkerFileBytes);
  if (!stat || stat->empty()) return std::nullopt;
  const std::string line = stat->substr(0, stat->find('\n'));
  const std::size_t name = line.rfind(')');
  if (name == std::string::npos || name + 2 >= line.size()) return std::nullopt;
  return line.substr(name + 2);
}

}  // namespace

bool processAlive(long pid) {
  if (pid <= 0) return false;
  if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM) return false;
  const std::optional<std::string> fields = statFields(pid);
  if (!fields) return true;  // no /proc: the signal test is all there is
  const char state = fields->front();
  return state != 'Z' && state != 'X';
}

bool processAlive(long pid, unsigned long long start) {
  if (!processAlive(pid)) return false;
  if (start == 0) return true;
  const unsigned long long now = processStartTime(pid);
  return now == 0 || now == start;
}

unsigned long long processStartTime(long pid) {
  if (pid <= 0) return 0;
  const std::optional<std::string> fields = statFields(pid);
  if (!fields) return 0;
  // The state is field 3 and the start time field 22: the 20th after the name.
  std::istringstream words(*fields);
  std::string word;
  for (int k = 0; k < 19 && words >> word; ++k) {
  }
  unsigned long long start = 0;
  return words >> start ? start : 0;
}

std::string claimText(const ClaimHolder& holder) {
  std::ostringstream text;
  text << holder.host << ' ' << holder.runner << ' ' << holder.child;
  if (holder.runnerStart != 0 || holder.childStart != 0)
    text << ' ' << holder.runnerStart << ' ' << holder.childStart;
  text << '\n';
  return text.str();
}

ClaimHolder thisRunner() {
  const long self = static_cast<long>(::getpid());
  return {.host = hostName(), .runner = self, .runnerStart = processStartTime(self)};
}

ClaimLiveness claimLiveness(const std::string& folder, std::string* host) {
  return livenessOf(readWholeFile(markerPath(folder), kMaxMarkerFileBytes), host);
}

ExecutionState effectiveState(const std::string& folder, std::string* otherHost) {
  if (otherHost != nullptr) otherHost->clear();
  const ExecutionState state = executionState(folder);
  if (state != ExecutionState::kRunning) return state;
  std::string host;
  const ClaimLiveness liveness = claimLiveness(folder, &host);
  if (liveness == ClaimLiveness::kStale) return ExecutionState::kPending;
  if (liveness == ClaimLiveness::kOtherHost && otherHost != nullptr) *otherHost = host;
  return state;
}

OrFailure<ClaimResult> claimExecution(const std::string& campaignFolder,
                                      const std::string& folder) {
  const std::optional<std::string> existing =
      readWholeFile(markerPath(folder), kMaxMarkerFileBytes);
  if (existing) {
    if (livenessOf(existing, nullptr) != ClaimLiveness::kStale) return ClaimResult::kHeldElsewhere;
    if (!removeStale(campaignFolder, folder, *existing)) return ClaimResult::kHeldElsewhere;
  }
  const std::string scratch = scratchPath(campaignFolder);
  if (const MaybeFailure failure = writeScratch(scratch, claimText(thisRunner())))
    return Failure{"cannot write its running marker: " + failure->reason};
  const int linked = ::link(scratch.c_str(), markerPath(folder).c_str());
  const int error = errno;
  ::unlink(scratch.c_str());
  if (linked == 0) return ClaimResult::kClaimed;
  if (error == EEXIST) return ClaimResult::kHeldElsewhere;
  return Failure{"cannot create its running marker: " + std::string(std::strerror(error))};
}

bool holdsClaim(const std::string& folder, const std::string& text) {
  return readWholeFile(markerPath(folder), kMaxMarkerFileBytes) == text;
}

bool recordChild(const std::string& campaignFolder, const std::string& folder, pid_t child) {
  ClaimHolder holder = thisRunner();
  if (!holdsClaim(folder, claimText(holder))) return false;
  holder.child = child;
  holder.childStart = processStartTime(child);
  const std::string scratch = scratchPath(campaignFolder);
  if (writeScratch(scratch, claimText(holder))) return false;
  if (::rename(scratch.c_str(), markerPath(folder).c_str()) == 0) return true;
  ::unlink(scratch.c_str());
  return false;
}

void releaseClaim(const std::string& folder) {
  ClaimHolder holder;
  const std::optional<std::string> text = readWholeFile(markerPath(folder), kMaxMarkerFileBytes);
  if (text && parseHolder(*text, holder) && holder.host == hostName() &&
      holder.runner == static_cast<long>(::getpid()))
    ::unlink(markerPath(folder).c_str());
}

}  // namespace jobshop
