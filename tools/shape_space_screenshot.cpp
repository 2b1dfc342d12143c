// Not a test: takes the README's pictures of the shape-space view on the
// example study, through the main window's buttons and View menu:
//
//   OUTDIR/components.png    PC1 against PC2 coloured by T, each specimen's
//                            two measurements joined
//   OUTDIR/shape_change.png  from the first measurement's mean shape to the
//                            second's, magnified 5 times, with the grid
//   OUTDIR/mean_shapes.png   the mean shapes of the two G1 groups
//   OUTDIR/shape_change-3d.png  the 3-D example study's change between its
//                            two measurements, magnified 3 times, in the
//                            front, side and top projections
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" lumivar_shape_space_screenshot OUTDIR
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QMenuBar>
#include <QPixmap>
#include <QTest>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>

#include "gui/analysis_views.h"
#include "gui/shape_space_view.h"
#include "runtime/qt/qt_window_runtime.h"
#include "shell/application.h"
#include "support/command_button.h"
#include "support/example_study_files.h"

namespace {

using namespace lumivar;

gui::ShapeSpaceView* open_view(gui::AnalysisViews& views, const QString& entry) {
  for (QAction* menu : views.menu_bar()->actions())
    for (QAction* a : menu->menu() ? menu->menu()->actions() : QList<QAction*>{})
      if (a->text().remove(QLatin1Char('&')).startsWith(entry)) a->trigger();
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* v = dynamic_cast<gui::ShapeSpaceView*>(w)) return v;
  return nullptr;
}

bool save(QWidget* view, const std::string& path) {
  QTest::qWait(200);
  if (view->grab().save(QString::fromStdString(path))) {
    std::printf("%s\n", path.c_str());
    return true;
  }
  std::fprintf(stderr, "cannot write %s\n", path.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: lumivar_shape_space_screenshot OUTDIR\n");
    return 2;
  }
  // Absolute before the loads, which change the working folder.
  const std::string out = std::filesystem::absolute(argv[1]).string();
  std::filesystem::create_directories(out);
  runtime::qt::QtWindowRuntime ui;
  ui.set_program_folder(LUMIVAR_RESOURCES);
  testing::choose_example_study(ui);
  shell::Application session(ui);
  const runtime::Handle fig = session.table.call("Lumivar", {}, 1).at(0).scalar();
  gui::AnalysisViews* views = gui::add_analysis_views(session, ui);
  ui.flush();
  if (views == nullptr) return 1;
  const auto analyse = [&] {
    for (const char* word : {"Load", "LoadRepGroup", "LoadGroup", "VarExp"}) {
      QAbstractButton* button = testing::command_button(ui, fig, word);
      if (button == nullptr) return false;
      button->click();
    }
    ui.flush();
    return true;
  };
  if (!analyse()) return 1;

  gui::ShapeSpaceView* view = open_view(*views, QStringLiteral("Principal components"));
  if (view == nullptr) return 1;
  view->grouping_box()->setCurrentIndex(2);  // T
  bool ok = save(view, out + "/components.png");
  open_view(*views, QStringLiteral("Shape change"));
  view->pair_box()->setCurrentIndex(view->pair_box()->findText(QStringLiteral("T = 1 \u2192 T = 2")));
  view->magnification_box()->setValue(5);
  ok = save(view, out + "/shape_change.png") && ok;
  open_view(*views, QStringLiteral("Mean shapes"));
  view->grouping_box()->setCurrentIndex(0);  // G1
  ok = save(view, out + "/mean_shapes.png") && ok;

  // The 3-D example study; the open view follows its analysis.
  auto files = std::make_shared<std::deque<std::string>>();
  for (const char* f : {"3d/landmarks.txt", "3d/reps.txt", "3d/groups.txt"}) files->push_back(testing::example(f));
  ui.set_file_dialog([files](const std::string&, const std::string&) { return testing::next_file_choice(*files); });
  if (!analyse()) return 1;
  open_view(*views, QStringLiteral("Shape change"));
  view->pair_box()->setCurrentIndex(view->pair_box()->findText(QStringLiteral("T = 1 \u2192 T = 2")));
  view->magnification_box()->setValue(3);
  ok = save(view, out + "/shape_change-3d.png") && ok;
  return ok ? 0 : 1;
}
