// The folder lock: flock on a lock file that names its holder.
#include "results/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace jobshop {

namespace {

// The holder's "pid host", as written by the process holding the lock.
std::string holderOf(int descriptor) {
  char text[256];
  const ssize_t length = ::pread(descriptor, text, sizeof text - 1, 0);
  std::string holder(text, length > 0 ? static_cast<std::size_t>(length) : 0);
  while (!holder.empty() && (holder.back() == '\n' || holder.back() == ' ')) holder.pop_back();
  return holder;
}

std::string describeHolder(const std::string& holder) {
  const std::size_t space = holder.find(' ');
  if (holder.empty()) return "otra ejecución";
  if (space == std::string::npos) return "otra ejecución (proceso " + holder + ")";
  return "otra ejecución (proceso " + holder.substr(0, space) + " en " + holder.substr(space + 1) +
         ")";
}

// Whether the descriptor still names the file at path: a holder that finished removed its lock
// file after we opened it, and a lock on the removed file would exclude nobody.
bool stillAtPath(int descriptor, const std::string& path) {
  struct stat opened {};
  struct stat named {};
  return ::fstat(descriptor, &opened) == 0 && ::stat(path.c_str(), &named) == 0 &&
         opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

void writeHolder(int descriptor) {
  char host[128] = "";
  ::gethostname(host, sizeof host - 1);
  const std::string holder = std::to_string(::getpid()) + " " + host + "\n";
  if (::ftruncate(descriptor, 0) == 0) (void)!::pwrite(descriptor, holder.data(), holder.size(), 0);
}

}  // namespace

FolderLock::~FolderLock() {
  if (descriptor_ < 0) return;
  // Removed while still locked, so that no one can lock the file between the two steps and then
  // find it gone.
  ::unlink(path_.c_str());
  ::close(descriptor_);
}

FolderLock::FolderLock(FolderLock&& other) noexcept
    : descriptor_(other.descriptor_), path_(std::move(other.path_)) {
  other.descriptor_ = -1;
}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
  if (this != &other) {
    FolderLock released(std::move(*this));
    descriptor_ = other.descriptor_;
    path_ = std::move(other.path_);
    other.descriptor_ = -1;
  }
  return *this;
}

FolderLockAttempt lockFolder(const std::string& folder) {
  FolderLockAttempt attempt;
  const std::string path = folder + kFolderLockFileName;
  // Each retry follows a holder that finished between our open and our lock: a few suffice.
  for (int tries = 0; tries < 100; ++tries) {
    const int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (descriptor < 0) return attempt;
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
      const int reason = errno;
      const std::string holder = holderOf(descriptor);
      ::close(descriptor);
      if (reason != EWOULDBLOCK) return attempt;
      attempt.refusal = "la carpeta " +
                        (folder.empty() ? std::string("actual") : "\"" + folder + "\"") +
                        " está en uso por " + describeHolder(holder) +
                        ", que escribe en ella sus registros; espere a que termine o use otra "
                        "carpeta (--dir)";
      return attempt;
    }
    if (!stillAtPath(descriptor, path)) {
      ::close(descriptor);
      continue;
    }
    writeHolder(descriptor);
    attempt.lock = FolderLock(descriptor, path);
    return attempt;
  }
  attempt.refusal = "no se pudo tomar el cerrojo " + path;
  return attempt;
}

}  // namespace jobshop
