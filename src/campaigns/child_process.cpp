// fork and exec, with a pipe that tells the parent why a child could not reach exec.
#include "campaigns/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace jobshop {

namespace {

// What a child that could not reach exec reports through its pipe.
struct StartFailure {
  int step;  // index into kStartSteps
  int error;
};

// The steps a child can fail at; 1 and 2 are named after the file they create.
const char* const kStartSteps[] = {"open /dev/null", "", "", "run the program",
                                   "outlive its parent"};

std::string stepText(int step, const std::string& outPath, const std::string& errPath) {
  if (step == 1 || step == 2) {
    const std::string& path = step == 1 ? outPath : errPath;
    return "create " + path.substr(path.find_last_of('/') + 1);
  }
  return kStartSteps[step];
}

[[noreturn]] void failStart(int report, int step) {
  const StartFailure failure{step, errno};
  [[maybe_unused]] const ssize_t sent = ::write(report, &failure, sizeof failure);
  ::_exit(127);
}

// In the child between fork and exec: only calls that are safe there.
[[noreturn]] void becomeChild(pid_t parent, int report, const char* program, char* const* argv,
                              const char* out, const char* err) {
  // Dies with its parent; a parent already gone before this took effect is caught by the check.
  if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != parent) failStart(report, 4);
  // The child reacts to signals as a program started from a shell does, whatever the parent set.
  for (int signal : {SIGINT, SIGTERM, SIGXFSZ, SIGPIPE}) ::signal(signal, SIG_DFL);
  sigset_t none;
  sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  const int files[3] = {::open("/dev/null", O_RDONLY),
                        ::open(out, O_WRONLY | O_CREAT | O_TRUNC, 0644),
                        ::open(err, O_WRONLY | O_CREAT | O_TRUNC, 0644)};
  for (int stream = 0; stream < 3; ++stream)
    if (files[stream] < 0 || ::dup2(files[stream], stream) < 0) failStart(report, stream);
  ::execv(program, argv);
  failStart(report, 3);
}

}  // namespace

OrFailure<pid_t> startChild(const std::vector<std::string>& args, const std::string& outPath,
                            const std::string& errPath) {
  if (args.empty()) return Failure{"no program to start"};
  std::vector<std::string> copies = args;
  std::vector<char*> argv;
  argv.reserve(copies.size() + 1);
  for (std::string& arg : copies) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const std::string& program = args.front();
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0)
    return Failure{"could not start " + program + ": " + std::strerror(errno)};
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid == 0)
    becomeChild(parent, report[1], program.c_str(), argv.data(), outPath.c_str(), errPath.c_str());
  const int forkError = errno;
  ::close(report[1]);
  StartFailure failure{};
  ssize_t got = 0;
  if (pid > 0)
    while ((got = ::read(report[0], &failure, sizeof failure)) < 0 && errno == EINTR) {
    }
  ::close(report[0]);
  if (pid < 0) return Failure{"could not start " + program + ": " + std::strerror(forkError)};
  if (got <= 0) return pid;  // the pipe closed at exec
  while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
  }
  return Failure{"could not " + stepText(failure.step, outPath, errPath) + " (" + program +
                 "): " + std::strerror(failure.error)};
}

std::string endedText(int waitStatus) {
  if (WIFEXITED(waitStatus)) return "exit " + std::to_string(WEXITSTATUS(waitStatus));
  const int signal = WIFSIGNALED(waitStatus) ? WTERMSIG(waitStatus) : 0;
  return "signal " + std::to_string(signal) + " (" + strsignal(signal) + ")";
}

}  // namespace jobshop
