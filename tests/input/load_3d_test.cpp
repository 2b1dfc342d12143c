// The landmark load for three-dimensional landmarks: chosen by the user or
// by the file's note, reported as such, refused when the columns do not fit.
#include <gtest/gtest.h>

#include "input/dimension_note.h"
#include "input/load_actions.h"
#include "input/load_test_support.h"
#include "support/error_message.h"
#include "support/temp_files.h"

namespace lumivar::input {
namespace {

using namespace lumivar::testing;

// n lines of `cols` numbers whose landmarks lie on no line (number_lines
// gives evenly spaced values, so every triple of its lands on one).
std::string curved_lines(int n, int cols) {
  std::string s;
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < cols; ++j) s += std::to_string(j * j + i) + (j + 1 < cols ? " " : "\n");
  return s;
}

class Load3d : public LoadFixture {};

TEST_F(Load3d, ReportsLandmarksInThreeDimensionsAndKeepsTheDimension) {
  EXPECT_EQ(load_file("skull.txt", curved_lines(30, 31), 3), LoadOutcome::kLoaded);
  EXPECT_EQ(box(ui, "FileBox"), "File: skull.txt \n  30 Specimens \n  10 Landmarks (3-D)");
  EXPECT_EQ(s.dimensions, 3);
  // The same file without the choice is 15 landmarks in the plane.
  load_file("skull.txt", curved_lines(30, 31));
  EXPECT_EQ(box(ui, "FileBox"), "File: skull.txt \n  30 Specimens \n  15 Landmarks");
  EXPECT_EQ(s.dimensions, 2);
  EXPECT_TRUE(ui.message_boxes.empty());
}

TEST_F(Load3d, NoteAfterTheDataSaysThreeDimensions) {
  load_file("noted.txt", curved_lines(4, 7) + "\n" + dimension_note(3) + "\n");
  EXPECT_EQ(box(ui, "FileBox"), "File: noted.txt \n   4 Specimens \n   2 Landmarks (3-D)");
  EXPECT_EQ(s.dimensions, 3);
  EXPECT_EQ(s.data.rows(), 4u);
  EXPECT_ERROR_MSG(load_file("noted.txt", curved_lines(4, 7) + "\ndimensions: 3\n", 2),
                   "The file noted.txt says its landmarks have 3 coordinates, but they were to be read "
                   "with 2. Nothing was loaded.");
}

TEST_F(Load3d, ColumnsThatDoNotFitThreeDimensionsAreRefusedChangingNothing) {
  load_file("first.txt", curved_lines(3, 7), 3);
  for (int cols : {8, 9, 4}) {
    const std::string n = std::to_string(cols);
    EXPECT_ERROR_MSG(load_file("wrong.txt", number_lines(3, cols), 3),
                     "The file wrong.txt has " + n +
                         " columns, so it cannot be three-dimensional landmark data: each row should "
                         "hold the x, y and z of every landmark (at least two) followed by one trailing "
                         "value, 3k + 1 columns (7, 10, 13, ...). Nothing was loaded.");
  }
  EXPECT_EQ(s.data.cols(), 7u);
  EXPECT_EQ(s.dimensions, 3);
  EXPECT_EQ(box(ui, "FileBox"), "File: first.txt \n   3 Specimens \n   2 Landmarks (3-D)");
}

TEST_F(Load3d, WarnsOfSpecimensWhoseLandmarksLieOnALine) {
  // Row 2: three landmarks on one line (0,0,0), (1,2,3), (3,6,9).
  load_file("line.txt", "0 0 0 1 0 0 0 1 0 1\n0 0 0 1 2 3 3 6 9 2\n1 2 0 1 0 5 0 1 0 3\n", 3);
  ASSERT_EQ(ui.message_boxes.size(), 1u);
  EXPECT_EQ(ui.message_boxes[0].title, kCollinearTitle);
  EXPECT_EQ(ui.message_boxes[0].text,
            "The landmarks of row 2 of line.txt lie on one line, so the turn of this specimen about that "
            "line is undetermined. The superimposition takes the smallest rotation onto the mean shape "
            "for them.");
  EXPECT_EQ(s.data.rows(), 3u);  // a warning: the data is loaded
}

}  // namespace
}  // namespace lumivar::input
