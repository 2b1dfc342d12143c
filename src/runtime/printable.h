#pragma once
// Text from a file or a command line, made safe to echo in a message: a
// terminal, a log or a message box gets no control character from it.
#include <string>
#include <string_view>

namespace lumivar::runtime {

// `text` with every byte that is a control character (0x00 to 0x1F, 0x7F,
// and the C1 controls U+0080 to U+009F), an invisible format character (zero
// widths, direction overrides, the byte-order mark) or not part of
// well-formed UTF-8 written as \xHH (upper-case hex, one per byte);
// everything else, including non-ASCII letters, is kept. The result is
// well-formed UTF-8. O(n).
std::string printable(std::string_view text);

// printable() of at most the first `max` bytes of `text`, followed by "..."
// when it was cut: a piece of a file's line to quote in a message.
std::string printable_excerpt(std::string_view text, std::size_t max = 40);

}  // namespace lumivar::runtime
