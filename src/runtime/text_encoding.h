#pragma once
// Text files that are not UTF-8. A spreadsheet or an editor on some systems
// saves "Unicode text" as UTF-16 or UTF-32, where every character takes two
// or four bytes and an ASCII one comes with NUL bytes beside it. Read as
// UTF-8 such a file gives lines of one odd cell each, and the reader's
// message would speak of cells and columns; it is told as what it is.
#include <optional>
#include <string>
#include <string_view>

namespace lumivar::runtime {

// The encoding that `first_line`, the bytes of a file before its first line
// end, shows when it is UTF-16 or UTF-32 ("UTF-16, little-endian, with a
// byte-order mark"), from the byte-order mark or, without one, from the NUL
// bytes beside the first character; nothing for any other text.
std::optional<std::string> wide_encoding(std::string_view first_line);

// Raises, naming `file` and the encoding, when `first_line` shows one.
void check_not_wide(std::string_view first_line, const std::string& file);

}  // namespace lumivar::runtime
