// Reading whole text files and cutting text into lines, the one way every reader of the program
// does it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jobshop {

// The lines of `text`, without their line feeds. A carriage return right before a line feed is
// dropped; a last line without a line feed still counts, but nothing after a final line feed does.
// Lines may be of any length.
std::vector<std::string> splitLines(std::string_view text);

// The whole content of the regular file at `path` of at most `limit` bytes (read with
// readBoundedFile); nullopt when it cannot be read, is no regular file or is larger. For readers
// that need not say why; the others call readBoundedFile.
std::optional<std::string> readWholeFile(const std::string& path, std::int64_t limit);

// The lines of the whole file at `path` as splitLines gives them; nullopt as readWholeFile.
std::optional<std::vector<std::string>> readFileLines(const std::string& path, std::int64_t limit);

// The path of the file `name` inside `folder`; just `name` when folder is "" (the current folder).
std::string pathInFolder(const std::string& folder, const std::string& name);

}  // namespace jobshop
