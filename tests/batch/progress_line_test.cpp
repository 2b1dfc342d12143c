#include "batch/progress_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "batch/batch_run.h"
#include "input/load_progress.h"
#include "support/temp_files.h"

namespace lumivar::batch {
namespace {

struct Update {
  double at;  // seconds since the action began
  std::size_t done, total;
};

// What a ProgressLine writes for one action that reports `updates` and ends.
std::string written(bool terminal, const std::vector<Update>& updates) {
  std::ostringstream err;
  double now = 0;
  {
    ProgressLine line(err, "Loading a.txt (MB)", terminal, nullptr, [&now] { return now; });
    for (const Update& u : updates) {
      now = u.at;
      EXPECT_TRUE(line.update(u.done, u.total));
    }
  }
  return err.str();
}

// A terminal: nothing in the first second, then the line redrawn in place at
// most five times a second, ended with a line break at the total.
TEST(ProgressLine, ATerminalRedrawsOneLineOnceTheActionHasLastedASecond) {
  EXPECT_EQ(written(true, {{0.9, 20, 70}, {1.0, 25, 70}, {1.1, 28, 70}, {1.25, 35, 70}, {1.6, 70, 70}}),
            "\rLoading a.txt (MB): 25 of 70, about 2 s left    "
            "\rLoading a.txt (MB): 35 of 70, about 1 s left    "  // not at 1.1 s: too soon
            "\rLoading a.txt (MB): 70 of 70    \n");
  // Within a second: nothing at all, not even at the end.
  EXPECT_EQ(written(true, {{0.5, 9, 9}}), "");
  // Stopped before the end (a cancel, an error): the line is ended, so that
  // what follows starts a line of its own.
  EXPECT_EQ(written(true, {{2, 1, 9}}), "\rLoading a.txt (MB): 1 of 9, about 16 s left    \n");
}

// A log file or a pipe: nothing for the first ten seconds, then a line every
// ten seconds, and nothing at the end (what the run prints follows).
TEST(ProgressLine, ALogGetsALineEveryTenSecondsOfALongActionAndCtrlCCancels) {
  EXPECT_EQ(written(false, {{9.9, 99, 1000}, {10, 100, 1000}, {15, 150, 1000}, {20.5, 200, 1000},
                            {100, 1000, 1000}}),
            "Loading a.txt (MB): 100 of 1000, about 2 min left\n"
            "Loading a.txt (MB): 200 of 1000, about 82 s left\n");
  EXPECT_EQ(written(false, {{9.5, 1, 2}, {9.9, 2, 2}}), "");

  // The flag Ctrl-C raises answers the next update with a cancel.
  std::ostringstream err;
  std::atomic<bool> interrupted{false};
  ProgressLine line(err, "Loading a.txt (MB)", false, &interrupted);
  EXPECT_TRUE(line.update(1, 9));
  interrupted = true;
  EXPECT_FALSE(line.update(2, 9));
}

// Landmark rows of 41 numbers, over the size whose loading shows progress.
std::string large_landmark_file(const testing::TempFolder& t) {
  std::string row;
  for (int j = 0; j < 40; ++j) row += std::to_string(100 + j) + ".125 ";
  row += "7\n";
  std::string text;
  while (text.size() <= input::kLoadProgressBytes) text += row;
  return t.write("big.txt", text);
}

TEST(BatchLoad, ALargeFileLoadsQuietlyIntoALogAndCtrlCStopsItWithACancel) {
  const testing::TempFolder t;
  CommandLine o;
  o.inputs.data = large_landmark_file(t);
  // Standard error is not a terminal here: a load of well under ten seconds
  // prints nothing beyond what it always did.
  const BatchRun quiet = run_batch(Command::kLoad, o);
  ASSERT_EQ(quiet.status, 0) << quiet.err;
  EXPECT_EQ(quiet.err, "");
  EXPECT_EQ(quiet.out.rfind("File: big.txt \n", 0), 0u) << quiet.out;

  // Ctrl-C (the flag its handler raises) stops the load at its first report.
  std::atomic<bool> interrupted{true};
  o.cancel = &interrupted;
  const BatchRun stopped = run_batch(Command::kLoad, o);
  EXPECT_EQ(stopped.status, kCancelledStatus);
  EXPECT_EQ(stopped.out, "");
  EXPECT_EQ(stopped.err, "Cancelled: Loading big.txt was cancelled after 0 of 9 MB; nothing was loaded.\n");
}

}  // namespace
}  // namespace lumivar::batch
