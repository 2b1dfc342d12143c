#include "runtime/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/file_lines.h"
#include "support/error_message.h"
#include "support/temp_files.h"

namespace lumivar::runtime {
namespace {

// `ascii` as a spreadsheet saves "Unicode text": each character in `width`
// bytes (2 or 4), little- or big-endian, after a byte-order mark if asked.
std::string wide(const std::string& ascii, int width, bool little, bool mark) {
  std::string out;
  const auto unit = [&](unsigned code) {
    for (int b = 0; b < width; ++b) {
      const int shift = 8 * (little ? b : width - 1 - b);
      out += static_cast<char>((code >> shift) & 0xFF);
    }
  };
  if (mark) unit(0xFEFF);
  for (char c : ascii) unit(static_cast<unsigned char>(c));
  return out;
}

TEST(TextEncoding, NamesUtf16AndUtf32WithOrWithoutAMark) {
  struct Case {
    int width;
    bool little, mark;
    const char* name;
  };
  const Case cases[] = {
      {2, true, true, "UTF-16, little-endian, with a byte-order mark"},
      {2, false, true, "UTF-16, big-endian, with a byte-order mark"},
      {4, true, true, "UTF-32, little-endian, with a byte-order mark"},
      {4, false, true, "UTF-32, big-endian, with a byte-order mark"},
      {2, true, false, "UTF-16, little-endian"},
      {2, false, false, "UTF-16, big-endian"},
      {4, true, false, "UTF-32, little-endian"},
      {4, false, false, "UTF-32, big-endian"},
  };
  for (const Case& c : cases) {
    // The first line as the line reader cuts it: up to the byte of the line
    // feed, which leaves the rest of its code unit on the next line.
    const std::string text = wide("id,x1,y1\n1", c.width, c.little, c.mark);
    const std::string first = text.substr(0, text.find('\n'));
    EXPECT_EQ(wide_encoding(first).value_or("none"), c.name);
  }
  // UTF-8, with or without its mark, and other first lines are left alone.
  for (const std::string plain : {"id,x1,y1", "\xEF\xBB\xBFid,x1", "\xC3\xA9t\xC3\xA9", "7", ""})
    EXPECT_FALSE(wide_encoding(plain)) << plain;
}

TEST(TextEncoding, TheLineReaderRefusesAWideFileNamingIt) {
  testing::TempFolder t;
  const std::string path = t.write("sheet.csv", wide("id,G1\r\na,1\r\n", 2, true, true));
  FileLines in(path);
  std::string line;
  EXPECT_ERROR_MSG(in.next(line), "The file " + path +
                                      " is written in UTF-16, little-endian, with a byte-order mark; "
                                      "Lumivar reads text written in UTF-8 (plain ASCII is UTF-8 too). "
                                      "Save the file as UTF-8 text and load it again.");
  // A NUL byte after the first line is the reader's to judge, not the encoding's.
  FileLines later(t.write("later.txt", std::string("1 2\n3\0 4\n", 8)));
  EXPECT_TRUE(later.next(line));
  EXPECT_TRUE(later.next(line));
  EXPECT_EQ(line, std::string("3\0 4", 4));
}

}  // namespace
}  // namespace lumivar::runtime
