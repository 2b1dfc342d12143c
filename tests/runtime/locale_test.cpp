// The window program runs under the user's locale (the toolkit sets it from
// the environment). Numbers must read and reports must print exactly as
// under the "C" locale all the same, so the window's text equals the batch
// tool's. Checked under German conventions, where the decimal separator is a
// comma.
#include <clocale>
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "runtime/format.h"
#include "runtime/numbers.h"

namespace lumivar::runtime {
namespace {

class GermanLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
      GTEST_SKIP() << "The locale de_DE.UTF-8 is not installed (scripts/install-deps generates it).";
  }
  void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }

 private:
  std::string saved_;
};

TEST_F(GermanLocale, ReportsPrintDecimalPoints) {
  // The C library itself now writes a comma: the reason for this test.
  char c_text[32];
  std::snprintf(c_text, sizeof c_text, "%2.4f", 0.5);
  EXPECT_EQ(std::string(c_text), "0,5000");

  EXPECT_EQ(format("%2.4f", {0.5}), "0.5000");
  EXPECT_EQ(format("which means %f specimens", {10.0}), "which means 10.000000 specimens");
  EXPECT_EQ(format("%i", {2.5}), "2.500000");  // not whole under %i
  EXPECT_EQ(format("%3.0f", {30.0}), " 30");
  EXPECT_EQ(format("%e|%g|%G|%#.0f", {1234.5, 0.0001, 1e-10, 3.0}), "1.234500e+03|0.0001|1E-10|3.");
}

TEST_F(GermanLocale, NumbersReadAsUnderTheCLocale) {
  EXPECT_EQ(parse_number("1.5"), 1.5);
  EXPECT_FALSE(parse_number("1,5").has_value());
  EXPECT_EQ(parse_number("1.5e400"), HUGE_VAL);  // not 1, as strtod would give here
  EXPECT_EQ(parse_number("-1.5e400"), -HUGE_VAL);
  EXPECT_EQ(parse_number("2.5e-400"), 0.0);
  EXPECT_EQ(parse_number_row("12.5\t3.25 7").values, (std::vector<double>{12.5, 3.25, 7}));
}

}  // namespace
}  // namespace lumivar::runtime
