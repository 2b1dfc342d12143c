// The window's load of three-dimensional landmarks: the File menu's 3-D
// entry reads the chosen file as x, y, z per landmark for that one load; a
// file with the dimension's note needs no choice; the status bar says 3-D.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QLabel>

#include "gui/desktop_shell.h"
#include "input/dimension_note.h"
#include "support/desktop_window.h"
#include "support/example_study_files.h"
#include "support/temp_files.h"

namespace lumivar::gui {
namespace {

class Load3d : public testing::DesktopTest {};

// Two rows of two landmarks in space (no three on a line) and a trailing value.
const std::string kRows = "0 0 0 1 2 3 1\n1 0 2 0 1 5 2\n";

TEST_F(Load3d, MenuEntryReadsTheNextFileInThreeDimensionsOnly) {
  testing::DesktopWindow w(settings_file());
  std::deque<std::string> files = {folder.write("skull.txt", kRows), folder.write("skull.txt", kRows)};
  w.shell->set_file_chooser([&](const std::string&, const std::string&) { return testing::next_file_choice(files); });
  w.trigger(DesktopShell::kLoadLandmarks3d);
  EXPECT_EQ(w.box("FileBox"), "File: skull.txt \n   2 Specimens \n   2 Landmarks (3-D)");
  EXPECT_EQ(w.app.session.dimensions, 3);
  EXPECT_EQ(w.shell->study_label()->text().toStdString(), "skull.txt: 2 rows, 2 landmarks (3-D)");
  EXPECT_EQ(w.app.landmark_dimensions, 0);  // the next load reads as the file says
  w.trigger(DesktopShell::kLoadLandmarks);
  EXPECT_EQ(w.box("FileBox"), "File: skull.txt \n   2 Specimens \n   3 Landmarks");
  EXPECT_EQ(w.app.session.dimensions, 2);
}

TEST_F(Load3d, FileWithTheNoteLoadsInThreeDimensionsFromTheUsualEntry) {
  testing::DesktopWindow w(settings_file());
  std::deque<std::string> files = {folder.write("noted.txt", kRows + "\n" + input::dimension_note(3) + "\n")};
  w.shell->set_file_chooser([&](const std::string&, const std::string&) { return testing::next_file_choice(files); });
  w.trigger(DesktopShell::kLoadLandmarks);
  EXPECT_EQ(w.box("FileBox"), "File: noted.txt \n   2 Specimens \n   2 Landmarks (3-D)");
}

}  // namespace
}  // namespace lumivar::gui
