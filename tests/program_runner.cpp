// Output through files of a fresh folder for std::system, through pipes where a file size limit
// would also cut the captured output.
#include "program_runner.h"

#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "test_instances.h"

namespace jobshop {

Captured shell(const std::string& command) {
  const std::string folder = makeTempFolder();
  const int raw = std::system((command + " > '" + folder + "out' 2> '" + folder + "err'").c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(folder + "out"),
          readFile(folder + "err")};
}

Captured shellWithFileSizeLimit(const std::string& command, long bytes) {
  int out[2], err[2];
  if (pipe(out) != 0 || pipe(err) != 0) return {-1, "", "no pipe"};
  const pid_t child = fork();
  if (child == 0) {
    const rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
    setrlimit(RLIMIT_FSIZE, &limit);
    dup2(out[1], 1);
    dup2(err[1], 2);
    for (int fd : {out[0], out[1], err[0], err[1]}) close(fd);
    execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  close(err[1]);
  Captured result;
  pollfd streams[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
  std::string* texts[2] = {&result.out, &result.err};
  for (int open = 2; open > 0;) {
    if (poll(streams, 2, -1) < 0) continue;
    for (int k = 0; k < 2; ++k) {
      if (streams[k].fd < 0 || streams[k].revents == 0) continue;
      char buffer[4096];
      const ssize_t got = read(streams[k].fd, buffer, sizeof buffer);
      if (got > 0) {
        texts[k]->append(buffer, static_cast<std::size_t>(got));
      } else {
        close(streams[k].fd);
        streams[k].fd = -1;
        --open;
      }
    }
  }
  int status = 0;
  waitpid(child, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

Captured runProgramIn(const std::string& folder, const std::string& arguments,
                      const std::string& launcher) {
  return shell("cd '" + folder + "' && " + launcher + JOBSHOP_PROGRAM + " " + arguments);
}

}  // namespace jobshop
