// A large file shows its loading in a progress monitor of the window runtime
// (recorded by the headless one), counted in megabytes up to the file's
// size; a cancel there leaves the session as it was.
#include "input/load_progress.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "input/load_actions.h"
#include "input/load_test_support.h"
#include "runtime/error.h"
#include "support/error_message.h"
#include "support/temp_files.h"

namespace lumivar::input {
namespace {

using runtime::headless::HeadlessRuntime;
using namespace lumivar::testing;

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;

class LoadProgressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    add_boxes(ui);
    // Landmark rows of 41 numbers, a little over 2 MiB in all: 3 MB started.
    big = number_lines(9000, 41);
    ASSERT_GT(big.size(), 2 * kMiB);
    ASSERT_LT(big.size(), 3 * kMiB);
  }
  KeepWorkingFolder keep;
  TempFolder t;
  HeadlessRuntime ui;
  runtime::Session s;
  std::string big;
};

TEST_F(LoadProgressTest, LargeFilesCountTheirMegabytesUpToTheEndSmallOnesShowNothing) {
  ui.queue_file(t.write("small.txt", number_lines(40, 5)));
  ASSERT_EQ(load(ui, s, 1000), LoadOutcome::kLoaded);  // under the size that shows progress
  EXPECT_TRUE(ui.progress_runs.empty());

  ui.queue_file(t.write("big.txt", big));
  ASSERT_EQ(load(ui, s, 1000), LoadOutcome::kLoaded);
  ASSERT_EQ(ui.progress_runs.size(), 1u);
  const auto& run = ui.progress_runs[0];
  EXPECT_EQ(run.title, "Loading big.txt (MB)");
  EXPECT_TRUE(run.ended);
  // Each megabyte once, from the start to the end, never going back.
  using Update = std::pair<std::size_t, std::size_t>;
  EXPECT_EQ(run.updates, (std::vector<Update>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
  EXPECT_EQ(s.data.rows(), 9000u);

  // The default size is well above what the tests load.
  ui.queue_file(t.path() + "/big.txt");
  ASSERT_EQ(load(ui, s), LoadOutcome::kLoaded);
  EXPECT_EQ(ui.progress_runs.size(), 1u);
}

TEST_F(LoadProgressTest, ACancelLeavesTheSessionAndTheWorkingFolderAsTheyWere) {
  ui.queue_file(t.write("good.txt", number_lines(40, 5)));
  ui.queue_file(t.write("groups.txt", number_lines(20, 2)));
  ASSERT_EQ(load(ui, s, 1000), LoadOutcome::kLoaded);
  ASSERT_EQ(loadgroup(ui, s, 1000), LoadOutcome::kLoaded);
  const runtime::Session before = s;
  const std::string file_box = box(ui, "FileBox"), group_box = box(ui, "GroupBox");
  std::filesystem::current_path("/");

  ui.cancel_progress_after = 2;  // Cancel while the second megabyte is read
  ui.queue_file(t.write("big.txt", big));
  EXPECT_ERROR_MSG(load(ui, s, 1000),
                   "Loading big.txt was cancelled after 1 of 3 MB; nothing was loaded.");
  ui.queue_file(t.path() + "/big.txt");
  EXPECT_THROW(loadgroup(ui, s, 1000), runtime::Cancelled);

  ASSERT_EQ(ui.progress_runs.size(), 2u);
  for (const auto& run : ui.progress_runs) {
    EXPECT_EQ(run.updates.size(), 2u);
    EXPECT_TRUE(run.ended);  // the display is closed
  }
  EXPECT_EQ(s.data, before.data);
  EXPECT_EQ(s.group, before.group);
  EXPECT_EQ(s.n1g, before.n1g);
  EXPECT_EQ(s.dmatrix, before.dmatrix);
  EXPECT_EQ(s.sources.data.sha256, before.sources.data.sha256);
  EXPECT_EQ(s.sources.groups.path, before.sources.groups.path);
  EXPECT_EQ(box(ui, "FileBox"), file_box);
  EXPECT_EQ(box(ui, "GroupBox"), group_box);
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path("/"));
  EXPECT_TRUE(ui.message_boxes.empty());  // the action's caller tells of the cancel
}

}  // namespace
}  // namespace lumivar::input
