// posix_spawnp and a pipe: arguments are passed as they are, never through a shell.
#include "campaigns/process_capture.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>

// unistd.h declares it only with _GNU_SOURCE; POSIX has the program declare it itself.
extern char** environ;  // NOLINT(readability-redundant-declaration): see above

namespace jobshop {

CapturedOutput captureCommand(const std::vector<std::string>& argv) {
  CapturedOutput result;
  int pipeEnds[2];
  if (argv.empty() || ::pipe(pipeEnds) != 0) return result;
  std::vector<std::string> args = argv;
  std::vector<char*> pointers;
  pointers.reserve(args.size() + 1);
  for (std::string& arg : args) pointers.push_back(arg.data());
  pointers.push_back(nullptr);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_adddup2(&files, pipeEnds[1], 1);
  posix_spawn_file_actions_addclose(&files, pipeEnds[0]);
  posix_spawn_file_actions_addclose(&files, pipeEnds[1]);
  pid_t pid = -1;
  const int failure =
      posix_spawnp(&pid, args[0].c_str(), &files, nullptr, pointers.data(), environ);
  posix_spawn_file_actions_destroy(&files);
  ::close(pipeEnds[1]);
  if (failure == 0) {
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) != 0;) {
      if (n < 0) {
        if (errno == EINTR) continue;
        break;
      }
      result.out.append(buffer, static_cast<std::size_t>(n));
    }
  }
  ::close(pipeEnds[0]);
  if (failure != 0) return result;
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.started = true;
  return result;
}

bool commandExists(const std::string& name) {
  const char* path = std::getenv("PATH");
  if (path == nullptr || name.empty()) return false;
  std::istringstream folders(path);
  for (std::string folder; std::getline(folders, folder, ':');)
    if (!folder.empty() && ::access((folder + "/" + name).c_str(), X_OK) == 0) return true;
  return false;
}

}  // namespace jobshop
