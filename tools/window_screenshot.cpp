// Not a test: takes the picture of the main window shown in the README, the
// example study loaded and partitioned ("VarExp") through the window's own
// buttons. scripts/screenshot runs it on a virtual X display.
//
//   lumivar_screenshot OUTPUT.png [WIDTHxHEIGHT [PERMUTATIONS]]
//
// With PERMUTATIONS, that number is typed into "PermBox" and "Permute" runs
// after "VarExp", to look at the other report.
#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>
#include <QWidget>
#include <cstdio>
#include <string>
#include <vector>

#include "support/command_button.h"
#include "support/example_study_files.h"
#include "gui/analysis_views.h"
#include "runtime/qt/qt_window_runtime.h"
#include "shell/application.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: lumivar_screenshot OUTPUT.png [WIDTHxHEIGHT [PERMUTATIONS]]\n");
    return 2;
  }
  using namespace lumivar;
  runtime::qt::QtWindowRuntime ui;
  ui.set_program_folder(LUMIVAR_RESOURCES);  // the layout as the source tree has it
  testing::choose_example_study(ui);
  shell::Application session(ui);
  const runtime::Handle fig = session.table.call("Lumivar", {}, 1).at(0).scalar();
  gui::add_analysis_views(session, ui);  // the menu bar, as the program has it
  ui.flush();
  std::vector<std::string> words = {"Load", "LoadRepGroup", "LoadGroup", "VarExp"};
  if (argc > 3) {
    auto* perm = dynamic_cast<QLineEdit*>(ui.widget(ui.find_by_tag("PermBox").at(0)));
    if (perm == nullptr) return 1;
    perm->selectAll();
    QTest::keyClicks(perm, QString::fromLocal8Bit(argv[3]));
    words.push_back("Permute");
  }
  for (const std::string& word : words) {
    QAbstractButton* button = testing::command_button(ui, fig, word);
    if (button == nullptr) {
      std::fprintf(stderr, "no button sends %s\n", word.c_str());
      return 1;
    }
    button->click();
  }
  int width = 0, height = 0;
  if (argc > 2 && std::sscanf(argv[2], "%dx%d", &width, &height) == 2) {
    const runtime::Matrix p = ui.get(fig, "Position").matrix();
    ui.set(fig, "Position", runtime::Value(runtime::Matrix::row({p(1), p(2), 1.0 * width, 1.0 * height})));
  }
  ui.flush();
  QApplication::processEvents();
  if (!ui.widget(fig)->grab().save(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
