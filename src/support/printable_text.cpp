// Escaping of unprintable bytes and cutting on character boundaries for quoted message text.
#include "support/printable_text.h"

namespace jobshop {

namespace {

unsigned char byteAt(std::string_view text, size_t p) {
  return static_cast<unsigned char>(text[p]);
}

// The length of the well-formed UTF-8 sequence of two to four bytes starting at text[p], or 0.
// Overlong forms, surrogates and code points beyond U+10FFFF are not well formed: each of their
// bytes is escaped on its own.
size_t sequenceLength(std::string_view text, size_t p) {
  const unsigned char lead = byteAt(text, p);
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  size_t length = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (p + length > text.size()) return 0;
  if (byteAt(text, p + 1) < low || byteAt(text, p + 1) > high) return 0;
  for (size_t k = 2; k < length; ++k) {
    if ((byteAt(text, p + k) & 0xC0) != 0x80) return 0;
  }
  return length;
}

std::string hexEscape(const char* prefix, unsigned char value) {
  constexpr const char* kDigits = "0123456789abcdef";
  std::string escape(prefix);
  escape += kDigits[value >> 4];
  escape += kDigits[value & 0x0F];
  return escape;
}

// How the character or byte at text[p] is shown; moves p past it.
std::string nextUnit(std::string_view text, size_t& p) {
  const unsigned char c = byteAt(text, p);
  if (c < 0x80) {
    ++p;
    if (c == '\t') return "\\t";
    if (c == '\n') return "\\n";
    if (c == '\r') return "\\r";
    if (c == '\\') return "\\\\";
    if (c < 0x20 || c == 0x7F) return hexEscape("\\x", c);
    return std::string(1, static_cast<char>(c));
  }
  const size_t length = sequenceLength(text, p);
  if (length == 0) {
    ++p;
    return hexEscape("\\x", c);
  }
  // U+0080..U+009F, the C1 controls, are the two-byte sequences C2 80..C2 9F.
  if (c == 0xC2 && byteAt(text, p + 1) < 0xA0) {
    const unsigned char code = byteAt(text, p + 1);
    p += 2;
    return hexEscape("\\u00", code);
  }
  std::string unit(text.substr(p, length));
  p += length;
  return unit;
}

}  // namespace

std::string printableText(std::string_view text) {
  std::string result;
  for (size_t p = 0; p < text.size();) result += nextUnit(text, p);
  return result;
}

PrintablePrefix printablePrefix(std::string_view text, size_t maxBytes) {
  PrintablePrefix prefix;
  for (size_t p = 0; p < text.size();) {
    size_t next = p;
    const std::string unit = nextUnit(text, next);
    if (prefix.text.size() + unit.size() > maxBytes) {
      prefix.truncated = true;
      break;
    }
    prefix.text += unit;
    p = next;
  }
  return prefix;
}

std::string quoted(std::string_view text, size_t maxBytes) {
  const PrintablePrefix shown = printablePrefix(text, maxBytes);
  return "\"" + shown.text + (shown.truncated ? "...\"" : "\"");
}

}  // namespace jobshop
