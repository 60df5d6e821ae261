// Child processes through posix_spawn, their outcome recorded by markers.
#include "campaigns/execution_launch.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <vector>

#include "campaigns/execution_state.h"
#include "results/execution_record.h"
#include "results/file_digest.h"

extern char** environ;

std::string selfProgramPath() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string("jobshop-niching") : self.string();
}

pid_t startExecution(const std::string& program, const std::string& folder,
                     const PlannedExecution& execution) {
  if (!clearExecution(folder) || !writeMarker(folder, kRunningMarker, runningMarkerText()))
    return -1;
  const std::string seed = std::to_string(execution.seed);
  std::vector<std::string> args = {program, "--dir", folder, "--seed", seed, "--quiet", "--record"};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files, 1, (folder + "stdout.txt").c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&files, 2, (folder + "stderr.txt").c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  // The child reacts to signals as a program started from a shell does, whatever the runner set.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults, none;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGINT);
  sigaddset(&defaults, SIGTERM);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  pid_t pid = -1;
  const int failure = posix_spawn(&pid, program.c_str(), &files, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&files);
  posix_spawnattr_destroy(&attributes);
  if (failure != 0) {
    writeMarker(folder, kFailedMarker,
                "could not start " + program + ": " + std::string(std::strerror(failure)) + "\n");
    std::remove((folder + kRunningMarker).c_str());
    return -1;
  }
  return pid;
}

bool finishExecution(const std::string& folder, int waitStatus) {
  const bool exitedOk = WIFEXITED(waitStatus) && WEXITSTATUS(waitStatus) == 0;
  const std::string finished = isoUtc(std::time(nullptr));
  bool done = false;
  if (exitedOk) {
    done = writeMarker(folder, kDoneMarker, "exit 0\nfinished " + finished + "\n");
  } else {
    const std::string how = WIFEXITED(waitStatus)
                                ? "exit " + std::to_string(WEXITSTATUS(waitStatus))
                                : "signal " + std::to_string(WTERMSIG(waitStatus));
    writeMarker(folder, kFailedMarker, how + "\nfinished " + finished + "\n");
  }
  std::remove((folder + kRunningMarker).c_str());
  return done;
}

void abandonExecution(const std::string& folder) { clearExecution(folder); }

bool runExecution(const std::string& program, const std::string& folder,
                  const PlannedExecution& execution) {
  const pid_t pid = startExecution(program, folder, execution);
  if (pid < 0) return false;
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return finishExecution(folder, 1 << 8);
  }
  return finishExecution(folder, status);
}

std::string executionErrors(const std::string& folder) {
  std::string text = readFileBytes(folder + "stderr.txt").value_or("");
  const std::string marker = readFileBytes(folder + kFailedMarker).value_or("");
  if (text.empty()) text = marker;
  return text;
}
