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

TEST(ParseNumber, MagnitudesOutOfRangeBecomeInfinityOrZero) {
  EXPECT_EQ(parse_number("1e309"), HUGE_VAL);
  EXPECT_EQ(parse_number("-17976931348623159e292"), -HUGE_VAL);
  EXPECT_EQ(parse_number("123456.7e99999999999999999999"), HUGE_VAL);  // the exponent saturates
  EXPECT_EQ(parse_number("1e-400"), 0.0);
  EXPECT_EQ(parse_number("0.000001e-320"), 0.0);
  EXPECT_TRUE(std::signbit(*parse_number("-1e-400")));
  EXPECT_EQ(parse_number("1.7976931348623157e308"), 1.7976931348623157e308);  // the largest
  EXPECT_EQ(parse_number("4.9406564584124654e-324"), 4.9406564584124654e-324);  // the smallest
}

TEST(ParseNumberRow, SeparatesByBlanksTabsAndCommas) {
  EXPECT_EQ(parse_number_row("1 2\t3, 4").values, (std::vector<double>{1, 2, 3, 4}));
  EXPECT_EQ(parse_number_row("  1,  2 ,\t3  ").values, (std::vector<double>{1, 2, 3}));
  EXPECT_TRUE(parse_number_row("").values.empty());
  const NumberRow bad = parse_number_row("1 2 NA 4");
  EXPECT_FALSE(bad.ok());
  EXPECT_EQ(bad.bad_token, "NA");
  EXPECT_EQ(parse_number_row("1;2").bad_token, "1;2");
}

TEST(ParseNumberRow, ValuesWithDecimalCommasAreNotSplitInTwo) {
  // Blanks or tabs between values and a comma between two digits: decimal commas.
  for (const char* line : {"12,5 3,25 7", "12,5\t3,25", "1 2 3,5", "1,5 2"}) {
    const NumberRow row = parse_number_row(line);
    EXPECT_TRUE(row.decimal_comma) << line;
    EXPECT_FALSE(row.ok()) << line;
  }
  EXPECT_EQ(parse_number_row("1 2 3,5 6").bad_token, "3,5");
  // Commas as separators, with or without blanks after them: no decimal commas.
  for (const char* line : {"1,2,3", "1, 2, 3", "1,2, 3", "1.5,2.5", "  1,2  ", "1 ,2", "1\t2"}) {
    const NumberRow row = parse_number_row(line);
    EXPECT_FALSE(row.decimal_comma) << line;
    EXPECT_TRUE(row.ok()) << line;
  }
}

}  // namespace
}  // namespace lumivar::runtime
