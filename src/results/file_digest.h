// Fingerprints of input files, so that a record names exactly the instance it ran on.
#pragma once

#include <optional>
#include <string>

namespace jobshop {

// SHA-256 of bytes as 64 lower-case hex digits.
std::string sha256Hex(const std::string& bytes);

// The whole content of a file, or nothing when it cannot be read.
std::optional<std::string> readFileBytes(const std::string& path);

}  // namespace jobshop
