#include "input/load_actions.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "input/load_test_support.h"
#include "input/temp_files.h"
#include "runtime/error.h"

namespace lumivar::input {
namespace {

using runtime::Matrix;
using runtime::Session;
using runtime::headless::HeadlessRuntime;
using namespace lumivar::testing;

class LoadActions : public ::testing::Test {
 protected:
  void SetUp() override { add_boxes(ui); }
  KeepWorkingFolder keep;
  TempFolder t;
  HeadlessRuntime ui;
  Session s;
};

TEST_F(LoadActions, LoadReportsNameSpecimensAndLandmarks) {
  ui.queue_file(t.write("wing.txt", number_lines(30, 31)));
  EXPECT_EQ(load(ui, s), LoadOutcome::kLoaded);
  EXPECT_EQ(box(ui, "FileBox"), "File: wing.txt \n  30 Specimens \n  15 Landmarks");
  EXPECT_EQ(s.data.rows(), 30u);
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(t.path()));

  ui.queue_file(t.write("small.txt", number_lines(12, 21)));
  load(ui, s);
  EXPECT_EQ(box(ui, "FileBox"), "File: small.txt \n  12 Specimens \n  10 Landmarks");
  ui.queue_file(t.write("big.txt", number_lines(1000, 3)));
  load(ui, s);
  EXPECT_EQ(box(ui, "FileBox"), "File: big.txt \n 1000 Specimens \n   1 Landmarks");
  EXPECT_TRUE(ui.message_boxes.empty());
}

TEST_F(LoadActions, LoadThatGetsNoDataChangesNothing) {
  ui.queue_file(t.write("good.txt", number_lines(4, 5)));
  load(ui, s);
  const Matrix before = s.data;

  ui.queue_cancel();
  EXPECT_EQ(load(ui, s), LoadOutcome::kCancelled);
  EXPECT_TRUE(ui.message_boxes.empty());

  const std::string missing = t.path() + "/missing.txt";
  ui.queue_file(missing);
  EXPECT_EQ(load(ui, s), LoadOutcome::kNothingLoaded);
  ASSERT_EQ(ui.message_boxes.size(), 1u);
  EXPECT_NE(ui.message_boxes[0].text.find(missing), std::string::npos);

  ui.queue_file(t.write("empty.txt", ""));
  EXPECT_EQ(load(ui, s), LoadOutcome::kNothingLoaded);
  EXPECT_NE(ui.message_boxes.back().text.find("holds no numbers"), std::string::npos);

  std::filesystem::current_path("/");
  ui.queue_file(t.write("bad.txt", "1 2 3\n1 2\n"));
  EXPECT_THROW(load(ui, s), runtime::Error);
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path("/"));  // not changed on a read error

  EXPECT_EQ(s.data, before);
  EXPECT_EQ(box(ui, "FileBox"), "File: good.txt \n   4 Specimens \n   2 Landmarks");
}

TEST_F(LoadActions, AnEvenNumberOfColumnsIsStoredWithAWarning) {
  ui.queue_file(t.write("even.txt", number_lines(3, 4)));
  EXPECT_EQ(load(ui, s), LoadOutcome::kLoaded);
  EXPECT_EQ(s.data.cols(), 4u);
  EXPECT_EQ(box(ui, "FileBox"), "File: even.txt \n   3 Specimens \n   2 Landmarks");  // 1.5 rounds
  ASSERT_EQ(ui.message_boxes.size(), 1u);
  EXPECT_NE(ui.message_boxes[0].text.find("4 columns"), std::string::npos);
}

TEST_F(LoadActions, RepeatedMeasureCodesAreCountedAndCheckedForBalance) {
  ui.queue_file(t.write("wing.txt", number_lines(30, 5)));
  load(ui, s);
  std::string codes;
  for (int i = 0; i < 30; ++i) codes += std::to_string(3 - i % 3) + "\n";
  ui.queue_file(t.write("reps.txt", codes));
  loadrepgroup(ui, s);
  EXPECT_EQ(box(ui, "RepBox"),
            "File: reps.txt \n of the repeated measures group codes loaded\nThere are 3 group codes \n "
            "which means 10.000000 specimens per group");
  EXPECT_TRUE(ui.message_boxes.empty());
  EXPECT_EQ(s.repgroupcode, Matrix::row({1, 2, 3}));
  EXPECT_EQ(s.nrep, Matrix::scalar(3));

  // Code 2 nine times, code 3 eleven times: one box for each, in code order.
  codes.clear();
  for (int i = 0; i < 10; ++i) codes += "1\n";
  for (int i = 0; i < 9; ++i) codes += "2\n";
  for (int i = 0; i < 11; ++i) codes += "3\n";
  ui.queue_file(t.write("unbalanced.txt", codes));
  loadrepgroup(ui, s);
  ASSERT_EQ(ui.message_boxes.size(), 2u);
  EXPECT_EQ(ui.message_boxes[0].title, "Dang:Error");
  EXPECT_EQ(ui.message_boxes[0].text, "In your repeated measure group code 2.000000, there are 9 specimens, there should be 10");
  EXPECT_EQ(ui.message_boxes[1].text, "In your repeated measure group code 3.000000, there are 11 specimens, there should be 10");

  // Fewer distinct codes than before: the counts shrink with them.
  ui.queue_file(t.write("one.txt", "1\n1\n"));
  loadrepgroup(ui, s);
  EXPECT_EQ(s.nfound, Matrix::scalar(1));
  EXPECT_EQ(s.nrep, Matrix::scalar(1));
  EXPECT_EQ(ui.message_boxes.back().text,
            "In your repeated measure group code 1.000000, there are 2 specimens, there should be 30");
}

TEST_F(LoadActions, CodesBeforeAnyLandmarksAreAllReportedAndStillStored) {
  ui.queue_file(t.write("reps.txt", "1\n2\n1\n2\n"));
  loadrepgroup(ui, s);
  ASSERT_EQ(ui.message_boxes.size(), 2u);
  EXPECT_EQ(ui.message_boxes[0].text, "In your repeated measure group code 1.000000, there are 2 specimens, there should be 0");
  EXPECT_EQ(s.repgroup.rows(), 4u);
  EXPECT_EQ(box(ui, "RepBox"),
            "File: reps.txt \n of the repeated measures group codes loaded\nThere are 2 group codes \n "
            "which means 0.000000 specimens per group");
}

TEST_F(LoadActions, GroupCodesReportFiveLinesAndResetTheDistances) {
  ui.queue_file(t.write("wing.txt", number_lines(8, 5)));
  load(ui, s);
  s.dmatrix = Matrix(8, 8, 1.0);
  // Before any repeated-measures codes, the second piece stops before its %f.
  ui.queue_file(t.write("groups.txt", "1 5\n1 6\n2 5\n2 6\n"));
  loadgroup(ui, s);
  EXPECT_EQ(box(ui, "GroupBox"),
            "File: groups.txt \n of the group codes loaded\nThere are 4 group codes \n which should "
            "match the specimens per time\nColumn 1 had 2 distinct codes, column 2 had 2 distinct codes");
  EXPECT_EQ(s.dmatrix, Matrix::scalar(0));

  ui.queue_file(t.write("reps.txt", "1\n1\n1\n1\n2\n2\n2\n2\n"));
  loadrepgroup(ui, s);
  ui.queue_file(t.write("groups.txt", "1 5\n1 6\n2 5\n2 6\n"));
  loadgroup(ui, s);
  EXPECT_EQ(box(ui, "GroupBox"),
            "File: groups.txt \n of the group codes loaded\nThere are 4 group codes \n which should "
            "match the specimens per time 4.000000\nColumn 1 had 2 distinct codes, column 2 had 2 "
            "distinct codes");
  EXPECT_TRUE(ui.message_boxes.empty());
  // Loading new landmarks keeps every code value.
  ui.queue_file(t.write("wing2.txt", number_lines(8, 7)));
  load(ui, s);
  EXPECT_EQ(s.n1g, Matrix::scalar(2));
  EXPECT_EQ(s.nrep, Matrix::scalar(2));
  EXPECT_EQ(s.group.rows(), 4u);
}

TEST_F(LoadActions, AOneColumnGroupFileStopsAfterTheFirstColumn) {
  s.n2g = Matrix::scalar(7);
  ui.queue_file(t.write("g1only.txt", "1\n2\n"));
  EXPECT_THROW(loadgroup(ui, s), runtime::Error);
  EXPECT_EQ(s.group.rows(), 2u);             // stored before the failing step
  EXPECT_EQ(s.n1g, Matrix::scalar(2));       // likewise
  EXPECT_EQ(s.n2g, Matrix::scalar(7));       // not reached
  EXPECT_EQ(box(ui, "GroupBox"), "before");  // not written
}

}  // namespace
}  // namespace lumivar::input
