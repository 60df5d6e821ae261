// A folder's listing, whatever it holds.
#include "campaigns/output_check.h"

#include <filesystem>

namespace jobshop {

std::vector<std::string> filesIn(const std::string& folder) {
  std::vector<std::string> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error))
    files.push_back(entry.path().string());
  return files;
}

}  // namespace jobshop
