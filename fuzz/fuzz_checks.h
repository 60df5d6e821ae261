// What every fuzz target checks beyond the sanitizers: a broken property aborts with its reason,
// which libFuzzer then reports as a finding with the input that broke it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace jobshop {

// Aborts (a libFuzzer finding) when `holds` is false; `what` names the broken property.
inline void fuzzCheck(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "fuzz property broken: %s\n", what);
  std::abort();
}

inline std::string_view fuzzText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A message shown to a user must not cut a character in two or carry raw control bytes, whatever
// bytes the input held: the readers escape what they quote.
inline bool isPrintableUtf8(std::string_view text) {
  for (std::size_t p = 0; p < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[p]);
    std::size_t length = 1;
    if (lead < 0x80) {
      if (lead < 0x20 || lead == 0x7F) return false;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
    } else {
      return false;
    }
    if (p + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[p + k]) & 0xC0) != 0x80) return false;
    p += length;
  }
  return true;
}

}  // namespace jobshop
