#include "runtime/text_encoding.h"

#include "runtime/error.h"

namespace lumivar::runtime {

std::optional<std::string> wide_encoding(std::string_view s) {
  const auto starts = [s](std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; };
  using namespace std::string_view_literals;
  // UTF-32's little-endian mark begins with UTF-16's: look for it first.
  if (starts("\xFF\xFE\0\0"sv)) return "UTF-32, little-endian, with a byte-order mark";
  if (starts("\0\0\xFE\xFF"sv)) return "UTF-32, big-endian, with a byte-order mark";
  if (starts("\xFF\xFE"sv)) return "UTF-16, little-endian, with a byte-order mark";
  if (starts("\xFE\xFF"sv)) return "UTF-16, big-endian, with a byte-order mark";
  // Without a mark: the first character of a text file is ASCII, so its
  // code unit is one byte that is not NUL and the NUL bytes that pad it.
  if (s.size() >= 4 && s[0] != 0 && s[1] == 0 && s[2] == 0 && s[3] == 0)
    return "UTF-32, little-endian";
  if (s.size() >= 4 && s[0] == 0 && s[1] == 0 && s[2] == 0 && s[3] != 0) return "UTF-32, big-endian";
  if (s.size() >= 2 && s[0] != 0 && s[1] == 0) return "UTF-16, little-endian";
  if (s.size() >= 2 && s[0] == 0 && s[1] != 0) return "UTF-16, big-endian";
  return std::nullopt;
}

void check_not_wide(std::string_view first_line, const std::string& file) {
  const std::optional<std::string> encoding = wide_encoding(first_line);
  if (!encoding) return;
  raise("The file " + file + " is written in " + *encoding +
        "; Lumivar reads text written in UTF-8 (plain ASCII is UTF-8 too). Save the file as "
        "UTF-8 text and load it again.");
}

}  // namespace lumivar::runtime
