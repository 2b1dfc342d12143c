#pragma once
// The program's main window on the Qt realisation, driven as a user drives
// it: the open-file dialog answers with the next of `files` (a cancel once
// they are used up), the console records its lines, and the working folder,
// which every load changes, is restored afterwards.
#include <QPlainTextEdit>
#include <deque>
#include <string>

#include "runtime/console.h"
#include "runtime/qt/qt_window_runtime.h"
#include "shell/application.h"
#include "support/example_study_files.h"
#include "support/temp_files.h"

namespace lumivar::testing {

struct ScriptedWindow {
  ScriptedWindow() {
    ui.set_console(&console);
    ui.set_file_dialog([this](const std::string&, const std::string&) { return next_file_choice(files); });
  }
  // Opens the main window (or brings it back) and returns it.
  runtime::Handle open() { return app.table.call("Lumivar", {}, 1).at(0).scalar(); }
  // What the multi-line box tagged `tag` shows; empty when it is no such box.
  QString shown(const std::string& tag) {
    auto* box = dynamic_cast<QPlainTextEdit*>(ui.widget(ui.find_by_tag(tag).at(0)));
    return box == nullptr ? QString() : box->toPlainText();
  }

  KeepWorkingFolder keep;
  runtime::RecordingConsole console;
  std::deque<std::string> files;
  runtime::qt::QtWindowRuntime ui;
  shell::Application app{ui};
};

}  // namespace lumivar::testing
