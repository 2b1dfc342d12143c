// The window program: the researcher's desktop window over the shared core.
// Command-line words are handed to the window function (none: the main
// window opens); the program ends when its last window is closed. The main
// window gets its menus (the "View" menu with the views of the last
// analysis, and the rest), a status bar and the user's settings. Only
// "--version" or "--help" as the one word is answered on standard output
// instead, before any window or display is needed.
#include <QApplication>
#include <QStringList>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "gui/analysis_views.h"
#include "gui/desktop_shell.h"
#include "gui/focus_ring_style.h"
#include "runtime/qt/qt_window_runtime.h"
#include "shell/Lumivar_mainhg.h"

namespace {

constexpr std::string_view kUsage =
    "Usage: lumivar [WORD...]\n"
    "\n"
    "Lumivar partitions the shape variation of landmark data measured twice and tests\n"
    "every effect by permutation. It opens its main window; work from the top down:\n"
    "  1. Load landmarks (Ctrl+O)  2. Load measurement codes  3. Load group codes\n"
    "  4. Partition variation (F5) or 5. Permutation test (F6)\n"
    "File > Import study reads a TPS file or a table with a specimen sheet, File > Open\n"
    "recent opens a study again, and Help > Manual explains the rest.\n"
    "\n"
    "  --help      print this text and exit\n"
    "  --version   print the version and exit\n"
    "\n"
    "The same analyses from the command line: lumivar-batch --help (man lumivar-batch).\n"
    "\n"
    "For scripts: words are handed to the window function; the first names a function\n"
    "that can be called by name (for example FileBox_Callback) and the rest are its\n"
    "arguments. Qt's own options (-platform NAME, -style NAME ...) are taken first.\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::string_view(argv[1]) == "--version") {
    std::cout << "lumivar " LUMIVAR_VERSION "\n";
    return 0;
  }
  if (argc == 2 && std::string_view(argv[1]) == "--help") {
    std::cout << kUsage;
    return 0;
  }
  QApplication app(argc, argv);  // takes Qt's own options (-platform ...) off the command line
  QApplication::setApplicationName(QStringLiteral("Lumivar"));
  lumivar::gui::install_focus_ring();  // keyboard users see where Tab has gone
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
