#include "support/text_files.h"

#include <filesystem>

#include "support/bounded_file.h"

namespace jobshop {

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    size_t length = end - start;
    if (length > 0 && text[end - 1] == '\r') --length;
    lines.emplace_back(text.substr(start, length));
    start = end + 1;
  }
  return lines;
}

std::optional<std::string> readWholeFile(const std::string& path, std::int64_t limit) {
  return readBoundedFile(path, limit).text;
}

std::optional<std::vector<std::string>> readFileLines(const std::string& path, std::int64_t limit) {
  std::optional<std::string> text = readWholeFile(path, limit);
  if (!text) return std::nullopt;
  return splitLines(*text);
}

std::string pathInFolder(const std::string& folder, const std::string& name) {
  return folder.empty() ? name : (std::filesystem::path(folder) / name).string();
}

}  // namespace jobshop
