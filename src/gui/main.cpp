// The window program: the researcher's desktop window over the shared core.
// Command-line words are handed to the window function (none: the main
// window opens); the program ends when its last window is closed. The main
// window gets its menus (the "View" menu with the views of the last
// analysis, and the rest), a status bar and the user's settings.
#include <QApplication>
#include <QStringList>
#include <string>
#include <vector>

#include "gui/analysis_views.h"
#include "gui/desktop_shell.h"
#include "runtime/qt/qt_window_runtime.h"
#include "shell/Lumivar_mainhg.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);  // takes Qt's own options (-platform ...) off the command line
  QApplication::setApplicationName(QStringLiteral("Lumivar"));
  lumivar::runtime::qt::QtWindowRuntime ui;
  // Layouts named without a folder are looked up beside the executable.
  ui.set_program_folder(QCoreApplication::applicationDirPath().toStdString());
  std::vector<std::string> words;
  const QStringList arguments = QCoreApplication::arguments();
  for (qsizetype i = 1; i < arguments.size(); ++i) words.push_back(arguments[i].toStdString());
  // The main window's menus, the views they open and its status bar.
  return lumivar::shell::Lumivar_mainhg(ui, words, [&ui](lumivar::shell::Application& state) {
    lumivar::gui::AnalysisViews* views = lumivar::gui::add_analysis_views(state, ui);
    lumivar::gui::add_desktop_shell(state, ui, views, QCoreApplication::applicationDirPath());
  });
}
