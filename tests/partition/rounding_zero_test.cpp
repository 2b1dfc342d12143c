#include "partition/rounding_zero.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace lumivar::partition {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(RoundingZero, SumsAtRoundingLevelAreZeroAndNeverNegative) {
  // Identical shapes placed differently: a total of 6e-31 over 40 rows is noise.
  const double level = rounding_level(40, 6e-31);
  EXPECT_EQ(clean_sum(6e-31, level), 0.0);
  EXPECT_EQ(clean_sum(-3e-17, level), 0.0);
  EXPECT_EQ(clean_sum(-0.25, level), 0.0);
  // A small but real sum of a study of 40 rows stays as it is.
  EXPECT_EQ(clean_sum(1e-9, level), 1e-9);
  EXPECT_TRUE(std::isnan(clean_sum(kNaN, level)));
}

TEST(RoundingZero, LevelGrowsWithTheRowsAndTheTotal) {
  EXPECT_LT(rounding_level(40, 0.5), rounding_level(400, 0.5));
  // The total of unit-size rows never exceeds their number by much; when it
  // does (unsuperimposed input), the level follows it.
  EXPECT_EQ(rounding_level(40, 4000), rounding_level(4000, 40));
  // A tiny real effect (1e-15 of a total of 1 on 40 rows) is below it.
  EXPECT_GT(rounding_level(40, 1.0), 1e-15);
}

TEST(RoundingZero, RatioOverAVanishedDenominatorIsNaN) {
  EXPECT_EQ(ratio_or_nan(3, 1.5), 2);
  EXPECT_EQ(ratio_or_nan(0, 1.5), 0);
  EXPECT_TRUE(std::isnan(ratio_or_nan(3, 0)));
  EXPECT_TRUE(std::isnan(ratio_or_nan(0, 0)));
  EXPECT_TRUE(std::isnan(ratio_or_nan(3, -1e-20)));
  EXPECT_TRUE(std::isnan(ratio_or_nan(3, kNaN)));
  EXPECT_TRUE(std::isnan(ratio_or_nan(3, std::numeric_limits<double>::infinity())));
}

}  // namespace
}  // namespace lumivar::partition
