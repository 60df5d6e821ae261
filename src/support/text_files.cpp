#include "support/text_files.h"

#include <cstdio>
#include <filesystem>
#include <memory>

namespace jobshop {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

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

std::optional<std::string> readWholeFile(const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return std::nullopt;
  std::string text;
  char chunk[65536];
  size_t count = 0;
  while ((count = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) text.append(chunk, count);
  // A directory opens on some systems but fails on the first read.
  if (std::ferror(file.get())) return std::nullopt;
  return text;
}

std::optional<std::vector<std::string>> readFileLines(const std::string& path) {
  std::optional<std::string> text = readWholeFile(path);
  if (!text) return std::nullopt;
  return splitLines(*text);
}

std::string pathInFolder(const std::string& folder, const std::string& name) {
  return folder.empty() ? name : (std::filesystem::path(folder) / name).string();
}

}  // namespace jobshop
