#include "batch/progress_line.h"

#include <gtest/gtest.h>

#include <sstream>

#include "batch/batch_run.h"
#include "input/load_progress.h"
#include "support/temp_files.h"

namespace lumivar::batch {
namespace {

// A terminal: nothing in the first second, then the line redrawn in place at
// most five times a second, ended with a line break at the total.
TEST(ProgressLine, ATerminalRedrawsOneLineOnceTheActionHasLastedASecond) {
  std::ostringstream err;
  double now = 0;
  {
    ProgressLine line(err, "Loading a.txt (MB)", true, nullptr, [&now] { return now; });
    now = 0.9;
    EXPECT_TRUE(line.update(20, 70));
    EXPECT_EQ(err.str(), "");
    now = 1.0;
    line.update(25, 70);
    EXPECT_EQ(err.str(), "\rLoading a.txt (MB): 25 of 70, about 2 s left    ");
    now = 1.1;
    line.update(28, 70);  // too soon to redraw
    now = 1.25;
    line.update(35, 70);
    now = 1.6;
    line.update(70, 70);
  }
  EXPECT_EQ(err.str(),
            "\rLoading a.txt (MB): 25 of 70, about 2 s left    "
            "\rLoading a.txt (MB): 35 of 70, about 1 s left    "
            "\rLoading a.txt (MB): 70 of 70    \n");

  // Within a second: nothing at all, not even at the end.
  std::ostringstream quick;
  now = 0;
  {
    ProgressLine line(quick, "Loading b.txt (MB)", true, nullptr, [&now] { return now; });
    now = 0.5;
    line.update(9, 9);
  }
  EXPECT_EQ(quick.str(), "");

  // Stopped before the end (a cancel, an error): the line is ended, so that
  // what follows starts a line of its own.
  std::ostringstream stopped;
  now = 0;
  {
    ProgressLine line(stopped, "Loading c.txt (MB)", true, nullptr, [&now] { return now; });
    now = 2;
    line.update(1, 9);
  }
  EXPECT_EQ(stopped.str(), "\rLoading c.txt (MB): 1 of 9, about 16 s left    \n");
}

// A log file or a pipe: nothing for the first ten seconds, then a line every
// ten seconds, and nothing at the end (what the run prints follows).
TEST(ProgressLine, ALogGetsALineEveryTenSecondsOfALongActionAndCtrlCCancels) {
  std::ostringstream err;
  double now = 0;
  std::atomic<bool> interrupted{false};
  {
    ProgressLine line(err, "Loading a.txt (MB)", false, &interrupted, [&now] { return now; });
    now = 9.9;
    EXPECT_TRUE(line.update(99, 1000));
    EXPECT_EQ(err.str(), "");
    now = 10;
    line.update(100, 1000);
    now = 15;
    line.update(150, 1000);
    now = 20.5;
    line.update(200, 1000);
    interrupted = true;
    EXPECT_FALSE(line.update(201, 1000));
    now = 100;
    line.update(1000, 1000);
  }
  EXPECT_EQ(err.str(),
            "Loading a.txt (MB): 100 of 1000, about 2 min left\n"
            "Loading a.txt (MB): 200 of 1000, about 82 s left\n");
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
