#include "runtime/numbers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lumivar::runtime {
namespace {

TEST(ParseNumber, ReadsDecimalNotationInfAndNaN) {
  EXPECT_EQ(parse_number("42"), 42.0);
  EXPECT_EQ(parse_number("-3.5"), -3.5);
  EXPECT_EQ(parse_number("+.5"), 0.5);
  EXPECT_EQ(parse_number("5."), 5.0);
  EXPECT_EQ(parse_number("1e3"), 1000.0);
  EXPECT_EQ(parse_number("-2.5E-2"), -0.025);
  EXPECT_EQ(parse_number("0.1"), 0.1);  // correctly rounded
  EXPECT_TRUE(std::isinf(*parse_number("Inf")));
  EXPECT_LT(*parse_number("-inf"), 0);
  EXPECT_TRUE(std::isnan(*parse_number("NaN")));
}

TEST(ParseNumber, RefusesEverythingElse) {
  for (const char* bad : {"", "NA", "1.2.3", "e5", "1e", "--1", "0x10", "1;", "abc", ".", "+", "1e+"}) {
    EXPECT_FALSE(parse_number(bad).has_value()) << bad;
  }
}

TEST(ParseNumberRow, SeparatesByBlanksTabsAndCommas) {
  EXPECT_EQ(parse_number_row("1 2\t3,4").values, (std::vector<double>{1, 2, 3, 4}));
  EXPECT_EQ(parse_number_row("  1,  2 ,\t3  ").values, (std::vector<double>{1, 2, 3}));
  EXPECT_TRUE(parse_number_row("").values.empty());
  const NumberRow bad = parse_number_row("1 2 NA 4");
  EXPECT_FALSE(bad.ok());
  EXPECT_EQ(bad.bad_token, "NA");
  EXPECT_EQ(parse_number_row("1;2").bad_token, "1;2");
}

}  // namespace
}  // namespace lumivar::runtime
