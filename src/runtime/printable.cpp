#include "runtime/printable.h"

#include <cstdint>

namespace lumivar::runtime {
namespace {

void append_hex(std::string& out, unsigned char byte) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  out += "\\x";
  out += kDigits[byte >> 4];
  out += kDigits[byte & 0x0F];
}

bool is_continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Length of the well-formed UTF-8 sequence at text[i] (overlong forms,
// surrogates and code points above U+10FFFF are not), or 0.
std::size_t sequence_length(std::string_view text, std::size_t i) {
  const auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c = at(i);
  std::size_t n = 0;
  std::uint32_t cp = 0;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
    cp = c & 0x1Fu;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    cp = c & 0x0Fu;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    cp = c & 0x07u;
  } else {
    return 0;
  }
  if (i + n > text.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    if (!is_continuation(at(i + k))) return 0;
    cp = cp << 6 | (at(i + k) & 0x3Fu);
  }
  const bool overlong = (n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000);
  const bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
  if (overlong || surrogate || cp > 0x10FFFF) return 0;
  if (cp >= 0x80 && cp <= 0x9F) return 0;  // C1 controls: a terminal may obey them
  // Invisible format characters: zero-width marks, line and paragraph
  // separators, the direction overrides and isolates that reorder what is
  // shown, and the byte-order mark. A message would hide or scramble them.
  const bool invisible = (cp >= 0x200B && cp <= 0x200F) || (cp >= 0x2028 && cp <= 0x202E) ||
                         (cp >= 0x2060 && cp <= 0x2069) || cp == 0xFEFF;
  if (invisible) return 0;
  return n;
}

}  // namespace

std::string printable(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x7F) {
      out += text[i++];
      continue;
    }
    const std::size_t n = c >= 0x80 ? sequence_length(text, i) : 0;
    if (n == 0) {
      append_hex(out, c);
      ++i;
    } else {
      out.append(text.substr(i, n));
      i += n;
    }
  }
  return out;
}

std::string printable_excerpt(std::string_view text, std::size_t max) {
  if (text.size() <= max) return printable(text);
  return printable(text.substr(0, max)) + "...";
}

}  // namespace lumivar::runtime
