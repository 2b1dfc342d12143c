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

// A log file, not a terminal: the estimate once after the first second of
// relabelling, then a line about every ten seconds, and nothing at the end
// (the report follows). The clock starts at the first report: the seconds the
// files took to read and superimpose before it say nothing of the pace.
TEST(RunProgress, ALogGetsTheEstimateOnceAndALineEveryTenSeconds) {
  std::ostringstream err;
  double now = 0;
  const auto hook = run_progress(err, false, [&now] { return now; });
  now = 5.0;             // the study took five seconds to load and superimpose
  hook(10, 1'000'010);   // the first, small wave
  now = 5.5;
  hook(110, 1'000'010);
  EXPECT_EQ(err.str(), "");  // the pace of half a second is no guide yet
  now = 6.0;
  hook(210, 1'000'010);  // 200 a second: 5000 s in all
  EXPECT_EQ(err.str(),
            "This run of 1000010 relabellings will take about 83 min at the pace of its first 1 s "
            "(Ctrl-C stops it).\n");
  err.str("");
  now = 14.9;
  hook(1990, 1'000'010);
  EXPECT_EQ(err.str(), "");
  now = 15.0;
  hook(2010, 1'000'010);
  EXPECT_EQ(err.str(), "Permutations: 2010 of 1000010, about 83 min left\n");
  err.str("");
  now = 20;
  hook(3010, 1'000'010);
  now = 1000;
  hook(1'000'010, 1'000'010);
  EXPECT_EQ(err.str(), "");

  // A run that ends within the minute gets neither an estimate nor lines,
  // however slowly it starts.
  std::ostringstream quick;
  now = 0;
  const auto short_run = run_progress(quick, false, [&now] { return now; });
  now = 30;
  short_run(4, 1000);
  now = 31.5;
  short_run(50, 1000);
  now = 42;
  short_run(400, 1000);
  now = 60;
  short_run(1000, 1000);
  EXPECT_EQ(quick.str(), "");
}

TEST(RunProgress, ATerminalGetsOneRedrawnLine) {
  std::ostringstream err;
  double now = 0;
  const auto hook = run_progress(err, true, [&now] { return now; });
  now = 3.0;
  hook(30, 100);  // the first report is drawn at once, with no pace yet
  now = 3.1;
  hook(40, 100);  // within a fifth of a second of the last: not redrawn
  now = 3.3;
  hook(60, 100);
  now = 3.5;
  hook(100, 100);
  EXPECT_EQ(err.str(),
            "\rPermutations: 30 of 100    \rPermutations: 60 of 100, about 1 s left    "
            "\rPermutations: 100 of 100    \n");
}

}  // namespace
}  // namespace lumivar::batch
