// Not a test: takes the README's pictures of the desktop program: the main
// window with its status bar saying the results are from earlier files
// (desktop.png), its Analysis menu open (menus.png) and the permutation
// settings dialog (settings.png). scripts/screenshot runs it on a virtual X
// display; settings go to a temporary folder, never the user's.
//
//   lumivar_desktop_screenshot OUTDIR
#include <QApplication>
#include <QDialog>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <string>

#include "gui/analysis_views.h"
#include "gui/desktop_shell.h"
#include "runtime/qt/qt_window_runtime.h"
#include "shell/application.h"

namespace {

bool save(const QPixmap& picture, const std::string& path) {
  if (picture.save(QString::fromStdString(path))) return true;
  std::fprintf(stderr, "cannot write %s\n", path.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  QTemporaryDir config;
  setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: lumivar_desktop_screenshot OUTDIR\n");
    return 2;
  }
  const std::string out = argv[1];
  using namespace lumivar;
  runtime::qt::QtWindowRuntime ui;
  ui.set_program_folder(LUMIVAR_RESOURCES);
  shell::Application session(ui);
  session.table.call("Lumivar", {}, 1);
  gui::AnalysisViews* views = gui::add_analysis_views(session, ui);
  gui::DesktopShell* desktop = gui::add_desktop_shell(session, ui, views, LUMIVAR_RESOURCES);
  if (desktop == nullptr) return 1;
  const std::string examples = LUMIVAR_EXAMPLES;
  // The study, VarExp, then corrected landmarks: the results are now stale.
  const std::string corrected = config.path().toStdString() + "/landmarks_corrected.txt";
  std::filesystem::copy_file(examples + "/landmarks.txt", corrected);
  std::deque<std::string> files = {examples + "/landmarks.txt", examples + "/reps.txt",
                                   examples + "/groups.txt", corrected};
  desktop->set_file_chooser([&files](const std::string&, const std::string&) {
    if (files.empty()) return runtime::FileChoice{};
    const std::filesystem::path p(files.front());
    files.pop_front();
    return runtime::FileChoice{false, p.filename().string(), p.parent_path().string() + "/"};
  });
  for (auto c : {gui::DesktopShell::kLoadLandmarks, gui::DesktopShell::kLoadCodes,
                 gui::DesktopShell::kLoadGroups, gui::DesktopShell::kVarExp,
                 gui::DesktopShell::kLoadLandmarks})
    desktop->action(c)->trigger();
  desktop->refresh();
  ui.flush();
  QWidget* window = desktop->status_bar()->window();
  window->resize(window->width(), window->height());
  QTest::qWait(200);
  if (!save(window->grab(), out + "/desktop.png")) return 1;

  // The Analysis menu, open under its title.
  QMenuBar* bar = window->findChild<QMenuBar*>();
  QMenu* analysis = desktop->action(gui::DesktopShell::kPermuteSettings)->associatedObjects().isEmpty()
                        ? nullptr
                        : qobject_cast<QMenu*>(
                              desktop->action(gui::DesktopShell::kPermuteSettings)->associatedObjects().front());
  if (bar == nullptr || analysis == nullptr) return 1;
  const QRect title = bar->actionGeometry(analysis->menuAction());
  analysis->popup(bar->mapToGlobal(title.bottomLeft()));
  QTest::qWait(300);
  const QRect shown = window->frameGeometry().united(analysis->geometry());
  if (!save(QGuiApplication::primaryScreen()->grabWindow(0, shown.x(), shown.y(), shown.width(),
                                                         shown.height()),
            out + "/menus.png"))
    return 1;
  analysis->hide();

  desktop->action(gui::DesktopShell::kPermuteSettings)->trigger();
  QTest::qWait(300);
  QDialog* dialog = desktop->settings_dialog();
  if (dialog == nullptr || !save(dialog->grab(), out + "/settings.png")) return 1;
  return 0;
}
