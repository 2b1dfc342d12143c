#include "runtime/format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

namespace lumivar::runtime {
namespace {

std::string c_printf(const char* fmt, double v) {
  char buf[1024];
  std::snprintf(buf, sizeof buf, fmt, v);
  return buf;
}

TEST(Format, AgreesWithTheCLibraryForFiniteNumbers) {
  const char* formats[] = {"%f", "%2.4f", "%4.2f", "%3.0f", "%e", "%g", "%10.3f", "%-8.2f|",
                           "%+.3e", "%012.5f", "%.0f", "%G", "%E"};
  const double values[] = {0.0, 1.0, -1.0, 3.14159265358979, 1e-7, 123456.789, -0.5, 2.5,
                           0.125, 1e300, -2.675, 99.995};
  for (const char* f : formats) {
    for (double v : values) {
      EXPECT_EQ(format(f, {v}), c_printf(f, v)) << f << " with " << v;
    }
  }
}

TEST(Format, AgreesWithTheCLibraryForEveryFlagOfTheFloatingConversions) {
  const char* formats[] = {"%g", "%.3g", "%.0g", "%#g", "%#.3g", "%10.4g|", "%-10g|", "%+g", "% g",
                           "%010.3g", "%#.0f", "%#.0e", "% .2f", "%+08.2f", "%-+9.1e|", "%.10G",
                           "%.17g", "%.0e", "%20.12E", "%.0f"};
  const double values[] = {0.0, -0.0, 1.0, -1.0, 0.0001, 0.00001, 123456.0, 1234567.0, 9.9999999,
                           -2.675, 1e-300, 1.7976931348623157e308, 5e-324, 0.5, 1.5, 2.5, 100.0};
  for (const char* f : formats) {
    for (double v : values) {
      EXPECT_EQ(format(f, {v}), c_printf(f, v)) << f << " with " << v;
    }
  }
}

TEST(Format, StopsBeforeTheFirstConversionWithoutAValue) {
  EXPECT_EQ(format("a %f b %f c", {1.0}), "a 1.000000 b ");
  EXPECT_EQ(format("only text"), "only text");
  EXPECT_EQ(format("x%dy"), "x");
  // An empty matrix gives no value at all.
  EXPECT_EQ(format("n=%f, m=%f", {Matrix(), 2.0}), "n=2.000000, m=");
  // The incomplete conversion of the permutation report counts as a conversion.
  EXPECT_EQ(format("%2.4f \\t%2.4", {0.5}), "0.5000 \t");
}

TEST(Format, TurnsTheTwoCharacterEscapesIntoBreaksAndTabs) {
  EXPECT_EQ(format("a\\nb\\tc\\\\d"), "a\nb\tc\\d");
  EXPECT_EQ(format("100%% sure"), "100% sure");
  // Escapes in values are not expanded: only the format is.
  EXPECT_EQ(format("%s", {"a\\nb"}), "a\\nb");
}

TEST(Format, FlattensMatricesInColumnOrderAndReusesTheFormat) {
  EXPECT_EQ(format("%d,", {Matrix::rows_of({{1, 2}, {3, 4}})}), "1,3,2,4,");
  EXPECT_EQ(format("File: %s \\n %3.0f Specimens", {"wing.txt", 30.0}), "File: wing.txt \n  30 Specimens");
}

TEST(Format, WholeAndFractionalValuesUnderIntegerConversions) {
  EXPECT_EQ(format("%i", {3.0}), "3");
  EXPECT_EQ(format("%3i|", {7.0}), "  7|");
  EXPECT_EQ(format("%i", {-12.0}), "-12");
  EXPECT_EQ(format("%i", {2.5}), "2.500000");
  EXPECT_EQ(format("%d", {1e17}), "100000000000000000");
  EXPECT_EQ(format("%i", {-0.0}), "-0");
}

TEST(Format, NonFiniteValuesAreSpelledInTheConversionsWidth) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(format("%2.4f", {inf}), "Inf");
  EXPECT_EQ(format("%6.2f|", {-inf}), "  -Inf|");
  EXPECT_EQ(format("%-5f|", {nan}), "NaN  |");
  EXPECT_EQ(format("%i", {nan}), "NaN");
  EXPECT_EQ(format("%4.2f", {-nan}), " NaN");
}

TEST(Join, DropsTrailingWhiteSpaceOfEveryPiece) {
  EXPECT_EQ(join({"a \t\n", "\n b ", "c"}), "a\n bc");
  EXPECT_EQ(join({}), "");
  EXPECT_EQ(join({" \t", "x"}), "x");
}

}  // namespace
}  // namespace lumivar::runtime
