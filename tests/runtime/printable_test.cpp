#include "runtime/printable.h"

#include <gtest/gtest.h>

namespace lumivar::runtime {
namespace {

TEST(Printable, KeepsTextAndLettersButEscapesControlBytes) {
  EXPECT_EQ(printable("12.5 NA abc"), "12.5 NA abc");
  EXPECT_EQ(printable("Größe µm"), "Größe µm");  // UTF-8 letters stay as they are
  // A terminal escape sequence pasted into a data file: the ESC byte would
  // recolour (or worse) the terminal that shows the message.
  EXPECT_EQ(printable("\x1b[31mred"), "\\x1B[31mred");
  EXPECT_EQ(printable(std::string("a\0b\tc\x7f", 6)), "a\\x00b\\x09c\\x7F");
  EXPECT_EQ(printable("\r\n"), "\\x0D\\x0A");
}

TEST(Printable, EscapesC1ControlsAndBytesThatAreNotUtf8) {
  EXPECT_EQ(printable("\xc2\x9b" "2J"), "\\xC2\\x9B2J");  // U+009B, the one-byte CSI
  EXPECT_EQ(printable("\x9b" "2J"), "\\x9B2J");           // a lone byte of Latin-1 text
  EXPECT_EQ(printable("caf\xe9"), "caf\\xE9");            // Latin-1 e-acute: not UTF-8
  EXPECT_EQ(printable("\xc3"), "\\xC3");                  // cut off after the lead byte
  EXPECT_EQ(printable("\xc0\xaf"), "\\xC0\\xAF");         // overlong '/'
  EXPECT_EQ(printable("\xed\xa0\x80"), "\\xED\\xA0\\x80");  // a surrogate
  EXPECT_EQ(printable("\xf0\x9f\x98\x80"), "\xf0\x9f\x98\x80");  // U+1F600 stays
}

TEST(Printable, ShowsInvisibleFormatCharactersThatWouldHideOrReorderText) {
  // A byte-order mark before the first number (a file saved by a Windows
  // editor): without the escape the message would quote "1" as not a number.
  EXPECT_EQ(printable("\xef\xbb\xbf" "1"), "\\xEF\\xBB\\xBF1");
  EXPECT_EQ(printable("1\xe2\x80\xae" "2"), "1\\xE2\\x80\\xAE2");  // right-to-left override
  EXPECT_EQ(printable("a\xe2\x80\x8b" "b"), "a\\xE2\\x80\\x8Bb");  // zero-width space
  EXPECT_EQ(printable("\xe2\x80\x94"), "\xe2\x80\x94");             // an em dash stays
}

}  // namespace
}  // namespace lumivar::runtime
