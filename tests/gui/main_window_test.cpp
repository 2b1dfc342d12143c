// The window program's main window on the Qt realisation: the layout, the
// command controls reaching the dispatcher, typed text, message boxes and the
// end of the main loop.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <array>
#include <string>

#include "support/command_button.h"
#include "support/example_study_files.h"
#include "support/fixed_pitch.h"
#include "support/headless_texts.h"
#include "support/scripted_window.h"
#include "runtime/headless/headless_runtime.h"
#include "runtime/qt/qt_window_runtime.h"
#include "shell/Lumivar_mainhg.h"
#include "shell/application.h"

namespace lumivar {
namespace {

using lumivar::testing::fixed_pitch;

using runtime::Handle;
using runtime::Value;

const std::array<std::string, 5> kBoxes = {"FileBox", "RepBox", "GroupBox", "ResBox", "PermBox"};
const std::array<std::string, 5> kWords = {"Load", "LoadRepGroup", "LoadGroup", "VarExp", "Permute"};

using testing::example;

class MainWindow : public ::testing::Test, protected testing::ScriptedWindow {
 protected:
  Handle tagged(const std::string& tag) {
    const std::vector<Handle> found = ui.find_by_tag(tag);
    EXPECT_EQ(found.size(), 1u) << tag;
    return found.empty() ? -1 : found.front();
  }
  QPushButton* command(Handle fig, const std::string& word) {
    QPushButton* button = testing::command_button(ui, fig, word);
    EXPECT_NE(button, nullptr) << "no single button sends " << word;
    return button;
  }
};

TEST_F(MainWindow, OpensOnceWithTheFiveBoxesAndTheFiveCommands) {
  const Handle fig = open();
  ui.flush();
  EXPECT_TRUE(ui.widget(fig)->isVisible());
  for (const std::string& tag : kBoxes) {
    const Value callback = ui.get(tagged(tag), "Callback");
    ASSERT_TRUE(callback.is_list()) << tag;
    EXPECT_EQ(callback.list().items().at(0), Value("Lumivar"));
    EXPECT_EQ(callback.list().items().at(1), Value(tag + "_Callback"));
  }
  // The three status boxes and the results: multi-line, read-only, selectable.
  for (const std::string tag : {"FileBox", "RepBox", "GroupBox", "ResBox"}) {
    auto* box = dynamic_cast<QPlainTextEdit*>(ui.widget(tagged(tag)));
    ASSERT_NE(box, nullptr) << tag;
    EXPECT_TRUE(box->isReadOnly()) << tag;
    EXPECT_EQ(box->toPlainText().toStdString(), ui.get(tagged(tag), "String").text());
  }
  EXPECT_TRUE(fixed_pitch(ui.widget(tagged("ResBox"))->font()));
  auto* perm = dynamic_cast<QLineEdit*>(ui.widget(tagged("PermBox")));
  ASSERT_NE(perm, nullptr);
  EXPECT_FALSE(perm->isReadOnly());
  for (const std::string& word : kWords) EXPECT_NE(command(fig, word), nullptr) << word;
  // A second call brings the same window back.
  EXPECT_EQ(open(), fig);
  EXPECT_EQ(ui.figures(), std::vector<Handle>{fig});
}

TEST_F(MainWindow, EveryCommandControlReachesTheDispatcher) {
  const Handle fig = open();
  ui.flush();
  files = {example("landmarks.txt"), example("reps.txt"), example("groups.txt")};
  QTest::mouseClick(command(fig, "Load"), Qt::LeftButton);
  EXPECT_TRUE(shown("FileBox").startsWith("File: landmarks.txt")) << shown("FileBox").toStdString();
  QTest::mouseClick(command(fig, "LoadRepGroup"), Qt::LeftButton);
  QTest::mouseClick(command(fig, "LoadGroup"), Qt::LeftButton);
  QTest::mouseClick(command(fig, "VarExp"), Qt::LeftButton);
  EXPECT_TRUE(files.empty());

  // The same study through the headless runtime: the same texts in every box.
  const auto expected = testing::headless_texts(
      {example("landmarks.txt"), example("reps.txt"), example("groups.txt")},
      {"Load", "LoadRepGroup", "LoadGroup", "VarExp"});
  for (const std::string tag : {"FileBox", "RepBox", "GroupBox", "ResBox"})
    EXPECT_EQ(shown(tag).toStdString(), expected.at(tag)) << tag;
  EXPECT_TRUE(shown("ResBox").startsWith("For the entire data set, SS="));

  // Text typed into PermBox is what "Permute" reads.
  auto* perm = dynamic_cast<QLineEdit*>(ui.widget(tagged("PermBox")));
  ASSERT_NE(perm, nullptr);
  perm->selectAll();
  QTest::keyClicks(perm, "20");
  EXPECT_EQ(ui.get(tagged("PermBox"), "String"), Value("20"));
  QTest::keyClick(perm, Qt::Key_Return);
  ASSERT_FALSE(console.lines.empty());
  EXPECT_EQ(console.lines.back(), "PermBox Callback not implemented yet.");
  QTest::mouseClick(command(fig, "Permute"), Qt::LeftButton);
  EXPECT_TRUE(shown("ResBox").contains("using 20 permuations")) << shown("ResBox").toStdString();
}

TEST_F(MainWindow, AMessageBoxDoesNotHoldTheProgram) {
  open();
  app.table.call("lumivarsw", {Value("Unload")}, 0);  // returns at once
  bool found = false;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* box = dynamic_cast<QMessageBox*>(w);
    if (box && box->isVisible() && box->windowTitle() == "Alas, Woe!") {
      found = true;
      EXPECT_FALSE(box->isModal());
      EXPECT_EQ(box->text(), QString("Fell through case"));
      box->close();
    }
  }
  EXPECT_TRUE(found);
}

// Closes every window once the main loop runs: flush() inside the start
// delivers timers too, and closing the window while it is being opened is
// not the case under test.
void close_windows_from_the_main_loop(runtime::qt::QtWindowRuntime& ui, bool& was_open) {
  QTimer::singleShot(0, [&ui, &was_open] {
    if (QThread::currentThread()->loopLevel() == 0) {
      close_windows_from_the_main_loop(ui, was_open);
      return;
    }
    was_open = ui.figures().size() == 1 && ui.widget(ui.figures().front())->isVisible();
    for (Handle fig : ui.figures()) ui.widget(fig)->close();  // as the title bar's button does
  });
}

TEST(WindowProgram, ClosingTheMainWindowEndsTheMainLoop) {
  runtime::qt::QtWindowRuntime ui;
  runtime::RecordingConsole console;
  ui.set_console(&console);
  bool was_open = false;
  close_windows_from_the_main_loop(ui, was_open);
  EXPECT_EQ(shell::Lumivar_mainhg(ui, {}), 0);
  EXPECT_TRUE(was_open);
  EXPECT_TRUE(ui.figures().empty());
  // Command-line words go to the window function; a box callback opens nothing.
  EXPECT_EQ(shell::Lumivar_mainhg(ui, {"FileBox_Callback"}), 0);
  EXPECT_EQ(console.lines, std::vector<std::string>{"FileBox Callback not implemented yet."});
}

}  // namespace
}  // namespace lumivar
