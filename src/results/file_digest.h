// Fingerprints of input files, so that a record names exactly the instance it ran on.
#pragma once

#include <string>

namespace jobshop {

// SHA-256 of bytes as 64 lower-case hex digits.
std::string sha256Hex(const std::string& bytes);

}  // namespace jobshop
