// One writer per results folder: an execution holds an exclusive lock on a file in its folder for
// as long as it runs, so that two executions never interleave their records.
#pragma once

#include <string>
#include <utility>

namespace jobshop {

inline const char* const kFolderLockFileName = ".jobshop-niching.lock";

// Held from lockFolder until destruction, which removes the lock file and releases the lock.
class FolderLock {
 public:
  FolderLock() = default;
  FolderLock(int descriptor, std::string path) : descriptor_(descriptor), path_(std::move(path)) {}
  ~FolderLock();
  FolderLock(FolderLock&& other) noexcept;
  FolderLock& operator=(FolderLock&& other) noexcept;
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  bool held() const { return descriptor_ >= 0; }

 private:
  int descriptor_ = -1;
  std::string path_;
};

struct FolderLockAttempt {
  FolderLock lock;
  // Empty when the lock is held, or when the folder cannot hold a lock file at all (a folder the
  // program cannot create files in cannot receive records either, and says so run by run).
  // Otherwise why the folder is refused, naming the process that holds it.
  std::string refusal;
};

// folder is "" (the current one) or a path ending in '/'. Never waits for the lock.
FolderLockAttempt lockFolder(const std::string& folder);

}  // namespace jobshop
