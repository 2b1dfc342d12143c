// What a user of a desktop program expects of the main window's keys and
// memory: Ctrl+O opens the landmark file, the two analyses have keys, Quit
// and the title bar's close button ask before unsaved results are lost, and
// the number of relabellings typed last is offered again. Settings live in a
// temporary file.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QPointer>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>
#include <deque>
#include <string>

#include "gui/desktop_shell.h"
#include "support/desktop_window.h"
#include "support/example_study_files.h"
#include "support/temp_files.h"

namespace lumivar::gui {
namespace {

using testing::example;

struct Window : testing::DesktopWindow {
  explicit Window(const QString& settings_file) : DesktopWindow(settings_file) {
    shell->set_file_chooser([this](const std::string&, const std::string&) {
      return testing::next_file_choice(files);
    });
    shell->set_quit_question([this] {
      ++quit_questions;
      return quit_answer;
    });
    shell->set_save_dialog([this](const QString&, QString*) { return save_to; });
    ui.flush();
    main = ui.widget(ui.find_by_tag("LumivarWindow").at(0));
  }
  void load_example() {
    files = {example("landmarks.txt"), example("reps.txt"), example("groups.txt")};
    trigger(DesktopShell::kLoadLandmarks);
    trigger(DesktopShell::kLoadCodes);
    trigger(DesktopShell::kLoadGroups);
  }
  // The main window is still there and shown (closing it deletes it).
  bool open() { return main && main->isVisible(); }
  // What the window system delivers when the user presses the title bar's
  // close button: a spontaneous close event for the window, which Qt's
  // window passes on to the widget as the user's close (QWidget::close()
  // goes the same way, marked as the program's).
  void close_by_title_bar() {
    QCloseEvent close;
    QSpontaneKeyEvent::setSpontaneous(&close);
    QApplication::instance()->notify(main->windowHandle(), &close);
  }

  QPointer<QWidget> main;
  std::deque<std::string> files;
  int quit_questions = 0;
  bool quit_answer = false;
  QString save_to;
};

class DesktopKeys : public testing::DesktopTest {};

TEST_F(DesktopKeys, OpenAndBothAnalysesHaveKeysAndNoKeyIsTakenTwice) {
  Window w(settings_file());
  EXPECT_EQ(w.shell->action(DesktopShell::kLoadLandmarks)->shortcut(), QKeySequence(QKeySequence::Open));
  EXPECT_FALSE(w.shell->action(DesktopShell::kVarExp)->shortcut().isEmpty());
  EXPECT_FALSE(w.shell->action(DesktopShell::kPermute)->shortcut().isEmpty());
  std::vector<QKeySequence> taken;
  for (int c = 0; c < DesktopShell::kCommandCount; ++c) {
    const QKeySequence keys = w.shell->action(static_cast<DesktopShell::Command>(c))->shortcut();
    if (keys.isEmpty()) continue;
    for (const QKeySequence& other : taken) EXPECT_NE(keys, other) << keys.toString().toStdString();
    taken.push_back(keys);
  }
}

TEST_F(DesktopKeys, QuitAsksOnlyWhileTheLastResultsAreUnsaved) {
  Window w(settings_file());
  w.trigger(DesktopShell::kQuit);  // nothing to lose: no question
  EXPECT_EQ(w.quit_questions, 0);
}

TEST_F(DesktopKeys, QuitWithUnsavedResultsAsksAndNoKeepsTheWindow) {
  Window w(settings_file());
  w.load_example();
  w.trigger(DesktopShell::kVarExp);
  w.trigger(DesktopShell::kQuit);
  EXPECT_EQ(w.quit_questions, 1);
  EXPECT_TRUE(w.open());
  // Saved: Quit closes without asking.
  w.save_to = QString::fromStdString(folder.path() + "/results.txt");
  w.trigger(DesktopShell::kSaveResults);
  w.trigger(DesktopShell::kQuit);
  EXPECT_EQ(w.quit_questions, 1);
  EXPECT_FALSE(w.open());
}

TEST_F(DesktopKeys, TheCloseButtonAsksAsQuitDoesAndTheProgramsOwnClosesDoNot) {
  {
    Window w(settings_file());
    w.load_example();
    w.trigger(DesktopShell::kVarExp);
    w.close_by_title_bar();  // No: the window stays
    QCoreApplication::processEvents();
    EXPECT_EQ(w.quit_questions, 1);
    EXPECT_TRUE(w.open());
    // Quit asks once; closing the windows after it asks no more.
    w.quit_answer = true;
    w.trigger(DesktopShell::kQuit);
    EXPECT_EQ(w.quit_questions, 2);
    EXPECT_FALSE(w.open());
  }
  {
    Window w(settings_file());
    w.load_example();
    w.trigger(DesktopShell::kVarExp);
    w.main->close();  // the program's close: no question, closed
    QCoreApplication::processEvents();
    EXPECT_EQ(w.quit_questions, 0);
    EXPECT_FALSE(w.open());
  }
  {
    Window w(settings_file());
    w.load_example();
    w.close_by_title_bar();  // nothing to lose: no question
    QCoreApplication::processEvents();
    EXPECT_EQ(w.quit_questions, 0);
    EXPECT_FALSE(w.open());
  }
  {
    Window w(settings_file());
    w.load_example();
    w.trigger(DesktopShell::kVarExp);
    w.quit_answer = true;
    w.close_by_title_bar();  // Yes: closed
    w.close_by_title_bar();  // the window manager's request repeated meanwhile
    QCoreApplication::processEvents();
    EXPECT_EQ(w.quit_questions, 1);
    EXPECT_FALSE(w.open());
  }
}

TEST_F(DesktopKeys, TheNumberOfRelabellingsIsOfferedAgain) {
  {
    Window w(settings_file());
    w.load_example();
    w.ui.set(w.ui.find_by_tag("PermBox").at(0), "String", runtime::Value("37"));
    w.trigger(DesktopShell::kPermute);
  }
  Window w(settings_file());
  EXPECT_EQ(w.box("PermBox"), "37");
}

}  // namespace
}  // namespace lumivar::gui
