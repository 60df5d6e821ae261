// The names of the temporary files a whole-file write puts beside its target, ".NAME.tmp.PID.N",
// and the removal of those a dead writer left behind (a kill -9, a power cut).
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

namespace jobshop {

// A temporary file younger than this is never removed: its PID may be a live writer's on another
// host sharing the folder, where this host's process table says nothing.
inline constexpr std::chrono::minutes kStaleTemporaryAge{10};

// ".NAME.tmp.PID.N" for the target file name NAME.
std::string temporaryName(const std::string& targetName, pid_t pid, int attempt);

// The PID in a name of that exact shape (NAME not empty, PID and N digits), or nothing.
std::optional<pid_t> temporaryOwner(const std::string& name);

// Removes from folder the regular files named as temporaries whose writer is gone (kill(PID, 0)
// says ESRCH) and that have not changed for kStaleTemporaryAge. Anything it cannot look at or
// remove is left as it is: a write never fails for it.
void removeStaleTemporaries(const std::filesystem::path& folder);

}  // namespace jobshop
