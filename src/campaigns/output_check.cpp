// stat(2) identities of paths.
#include "campaigns/output_check.h"

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <utility>

namespace jobshop {

namespace fs = std::filesystem;

namespace {

std::optional<std::pair<dev_t, ino_t>> identity(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return std::nullopt;
  return std::pair{status.st_dev, status.st_ino};
}

}  // namespace

std::optional<std::string> inputOverwrittenBy(const std::string& output,
                                              const std::vector<std::string>& inputs) {
  const auto written = identity(output);
  if (!written) return std::nullopt;
  for (const std::string& input : inputs)
    if (identity(input) == written) return input;
  return std::nullopt;
}

bool sameFile(const std::string& first, const std::string& second) {
  const auto a = identity(first);
  const auto b = identity(second);
  if (a && b) return a == b;
  std::error_code error;
  return fs::weakly_canonical(fs::absolute(first), error) ==
         fs::weakly_canonical(fs::absolute(second), error);
}

std::vector<std::string> filesIn(const std::string& folder) {
  std::vector<std::string> files;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error))
    files.push_back(entry.path().string());
  return files;
}

}  // namespace jobshop
