// Loading a large file in the window: the progress dialog's Cancel stops the
// load and leaves the session, the status boxes and the status bar as they
// were, saying so in a box titled "Cancelled" (information, not an error).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QStandardPaths>
#include <deque>
#include <filesystem>

#include "support/desktop_window.h"
#include "support/progress_dialogs.h"
#include "support/temp_files.h"

namespace lumivar::gui {
namespace {

namespace fs = std::filesystem;

std::string example(const std::string& name) { return std::string(LUMIVAR_EXAMPLES) + "/" + name; }

// Landmark rows of 41 numbers, a little over 2 MiB: three megabytes to count.
std::string large_landmarks() {
  std::string row;
  for (int j = 0; j < 40; ++j) row += std::to_string(200 + j) + ".5 ";
  row += "1\n";
  std::string text;
  while (text.size() < (std::size_t{5} << 19)) text += row;
  return text;
}

TEST(LoadProgressDialog, CancelLeavesTheLoadedStudyAsItWas) {
  QStandardPaths::setTestModeEnabled(true);
  testing::KeepWorkingFolder keep;
  const testing::TempFolder folder;
  testing::DesktopWindow w(QString::fromStdString(folder.path() + "/settings.ini"));
  std::deque<std::string> files;
  w.shell->set_file_chooser([&files](const std::string&, const std::string&) {
    if (files.empty()) return runtime::FileChoice{};
    const fs::path p(files.front());
    files.pop_front();
    return runtime::FileChoice{false, p.filename().string(), p.parent_path().string() + "/"};
  });
  files = {example("landmarks.txt")};
  w.trigger(gui::DesktopShell::kLoadLandmarks);
  const runtime::Session before = w.app.session;
  const std::string file_box = w.box("FileBox");
  const QString study = w.shell->study_label()->text();
  const fs::path working = fs::current_path();
  ASSERT_EQ(before.data.rows(), 80u);

  // Every file shows its progress here. The dialog is clicked as soon as it
  // exists, before the second it waits to show itself: the load is short.
  w.app.load_progress_bytes = 1;
  testing::CancelAtOnce cancel;
  files = {folder.write("big.txt", large_landmarks())};
  w.trigger(gui::DesktopShell::kLoadLandmarks);
  ASSERT_TRUE(cancel.stop());

  QMessageBox* told = testing::cancelled_box();
  ASSERT_NE(told, nullptr);
  EXPECT_EQ(told->icon(), QMessageBox::Information);
  EXPECT_EQ(told->text().toStdString().rfind("Loading big.txt was cancelled after ", 0), 0u)
      << told->text().toStdString();
  EXPECT_TRUE(told->text().endsWith(" of 3 MB; nothing was loaded.")) << told->text().toStdString();
  told->close();

  EXPECT_EQ(w.app.session.data, before.data);
  EXPECT_EQ(w.app.session.sources.data.path, before.sources.data.path);
  EXPECT_EQ(w.app.session.sources.data.sha256, before.sources.data.sha256);
  EXPECT_EQ(w.box("FileBox"), file_box);
  EXPECT_EQ(w.shell->study_label()->text(), study);
  EXPECT_EQ(fs::current_path(), working);
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* dialog = dynamic_cast<QProgressDialog*>(widget)) {
      EXPECT_FALSE(dialog->isVisible()) << "the dialog is closed";
    }
  }
}

}  // namespace
}  // namespace lumivar::gui
