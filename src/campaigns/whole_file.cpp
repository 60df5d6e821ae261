// A temporary name in the same folder (a rename never crosses file systems), removed on failure.
#include "campaigns/whole_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "run/text_file_output.h"

std::string replaceWholeFile(const std::string& path, const std::string& text) {
  const std::filesystem::path target(path);
  std::string hidden = ".";
  hidden.append(target.filename().string()).append(".").append(std::to_string(::getpid()));
  hidden.append(".tmp");
  const std::string temporary = (target.parent_path() / hidden).string();
  std::string failure = writeTextFile(temporary, text, WriteMode::kReplace);
  if (failure.empty() && std::rename(temporary.c_str(), path.c_str()) != 0)
    failure = std::strerror(errno);
  if (!failure.empty()) ::unlink(temporary.c_str());
  return failure;
}
