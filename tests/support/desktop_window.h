#pragma once
// One run of the window program's main window with its desktop shell, as
// its main makes it, over settings kept in a file of the test's own (never
// the user's). The windows are closed at the end as the program closes
// them (no question about unsaved results), so the shell saves what it
// remembers.
#include <QCoreApplication>
#include <QEvent>
#include <QSettings>
#include <QStandardPaths>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "gui/analysis_views.h"
#include "gui/desktop_shell.h"
#include "runtime/console.h"
#include "runtime/qt/qt_window_runtime.h"
#include "shell/application.h"
#include "support/temp_files.h"

namespace lumivar::testing {

struct DesktopWindow {
  explicit DesktopWindow(const QString& settings_file) {
    ui.set_console(&console);
    app.table.call("Lumivar", {}, 0);
    views = gui::add_analysis_views(app, ui);
    shell = new gui::DesktopShell(app, ui, ui.find_by_tag("LumivarWindow").at(0), *views,
                                  std::make_unique<gui::AppSettings>(std::make_unique<QSettings>(
                                      settings_file, QSettings::IniFormat)),
                                  QString());
  }
  ~DesktopWindow() {
    for (runtime::Handle fig : ui.figures()) ui.widget(fig)->close();
    // A closed window is deleted later, from the event loop; do it now, while
    // the window runtime it reports to still exists (the next test's event
    // loop would otherwise delete it after this runtime is gone).
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  DesktopWindow(const DesktopWindow&) = delete;
  DesktopWindow& operator=(const DesktopWindow&) = delete;

  std::string box(const std::string& tag) {
    return ui.get(ui.find_by_tag(tag).at(0), "String").text();
  }
  void trigger(gui::DesktopShell::Command c) {
    shell->action(c)->trigger();
    QCoreApplication::processEvents();  // the status bar follows a moment later
  }

  runtime::RecordingConsole console;
  runtime::qt::QtWindowRuntime ui;
  shell::Application app{ui};
  gui::AnalysisViews* views = nullptr;
  gui::DesktopShell* shell = nullptr;
};

// A test of the main window: Qt in test mode, settings in a file of the
// test's own folder, and the working folder restored afterwards (loads change it).
class DesktopTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { QStandardPaths::setTestModeEnabled(true); }
  QString settings_file() const { return QString::fromStdString(folder.path() + "/settings.ini"); }

  KeepWorkingFolder keep;
  TempFolder folder;
};

}  // namespace lumivar::testing
