#include "batch/run_progress.h"

#include <gtest/gtest.h>

#include <sstream>

namespace lumivar::batch {
namespace {

TEST(DurationText, RoundsToTheUnitThatReadsBest) {
  EXPECT_EQ(duration_text(0.2), "1 s");
  EXPECT_EQ(duration_text(45), "45 s");
  EXPECT_EQ(duration_text(89), "89 s");
  EXPECT_EQ(duration_text(720), "12 min");
  EXPECT_EQ(duration_text(3 * 3600 + 20 * 60), "3 h 20 min");
  EXPECT_EQ(duration_text(2 * 3600 - 10), "2 h");
  EXPECT_EQ(duration_text(41 * 86400.0), "41 days");
  EXPECT_EQ(duration_text(1300 * 365.25 * 86400), "1300 years");
  EXPECT_EQ(duration_text(1e300), "far longer than a lifetime");
}

// A log file, not a terminal: the estimate once after the first second, then
// a line about every ten seconds, and nothing at the end (the report follows).
TEST(RunProgress, ALogGetsTheEstimateOnceAndALineEveryTenSeconds) {
  std::ostringstream err;
  double now = 0;
  const auto hook = run_progress(err, false, [&now] { return now; });
  now = 0.5;
  hook(100, 1'000'000);
  EXPECT_EQ(err.str(), "");  // the pace of half a second is no guide yet
  now = 1.0;
  hook(200, 1'000'000);  // 200 a second: 5000 s in all
  EXPECT_EQ(err.str(),
            "This run of 1000000 relabellings will take about 83 min at the pace of its first 1 s "
            "(Ctrl-C stops it).\n");
  err.str("");
  now = 9.9;
  hook(1980, 1'000'000);
  EXPECT_EQ(err.str(), "");
  now = 10.0;
  hook(2000, 1'000'000);
  EXPECT_EQ(err.str(), "Permutations: 2000 of 1000000, about 83 min left\n");
  err.str("");
  now = 15;
  hook(3000, 1'000'000);
  now = 1000;
  hook(1'000'000, 1'000'000);
  EXPECT_EQ(err.str(), "");

  // A run that ends within the minute gets neither an estimate nor lines,
  // however slowly it starts.
  std::ostringstream quick;
  now = 0;
  const auto short_run = run_progress(quick, false, [&now] { return now; });
  now = 1.5;
  short_run(50, 1000);
  now = 12;
  short_run(400, 1000);
  now = 30;
  short_run(1000, 1000);
  EXPECT_EQ(quick.str(), "");
}

TEST(RunProgress, ATerminalGetsOneRedrawnLine) {
  std::ostringstream err;
  double now = 0;
  const auto hook = run_progress(err, true, [&now] { return now; });
  now = 0.3;
  hook(30, 100);
  now = 0.4;
  hook(40, 100);  // within a fifth of a second of the last: not redrawn
  now = 0.7;
  hook(100, 100);
  EXPECT_EQ(err.str(),
            "\rPermutations: 30 of 100, about 1 s left    \rPermutations: 100 of 100    \n");
}

}  // namespace
}  // namespace lumivar::batch
