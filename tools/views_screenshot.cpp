// Not a test: takes the pictures of the analysis views shown in the README,
// on the example study, through the main window's own buttons and menu:
//
//   OUTDIR/progress.png      the progress dialog over the main window during
//                            a long "Permute" (then cancelled)
//   OUTDIR/shapes.png        the shape view, coloured by T, pointing at the
//                            row farthest from the consensus
//   OUTDIR/distribution.png  the permutation distribution of one effect's F
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" lumivar_views_screenshot OUTDIR
//       [LONG_PERMUTATIONS [PERMUTATIONS [EFFECT [GROUPING]]]]
//
// Defaults: 20000000 relabellings for the long run (the example study runs
// about a million a second on two cores: shorter runs end before the dialog
// is due), 999 for the histogram, effect 1 (G2; 0-based, report order),
// grouping T (2; 0 = G1, 1 = G2).
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/command_button.h"
#include "support/example_study_files.h"
#include "geometry/consensus_distance.h"
#include "gui/analysis_views.h"
#include "runtime/qt/qt_window_runtime.h"
#include "gui/scene_widget.h"
#include "shell/application.h"

namespace {

using namespace lumivar;

bool save(const QPixmap& picture, const std::string& path) {
  if (picture.save(QString::fromStdString(path))) {
    std::printf("%s\n", path.c_str());
    return true;
  }
  std::fprintf(stderr, "cannot write %s\n", path.c_str());
  return false;
}

QProgressDialog* visible_progress_dialog() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* d = dynamic_cast<QProgressDialog*>(w); d != nullptr && d->isVisible()) return d;
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: lumivar_views_screenshot OUTDIR [LONG_PERMUTATIONS [PERMUTATIONS [EFFECT "
                 "[GROUPING]]]]\n");
    return 2;
  }
  const std::string out = argv[1];
  const std::string long_run = argc > 2 ? argv[2] : "20000000";
  const std::string permutations = argc > 3 ? argv[3] : "999";
  const int effect = argc > 4 ? std::atoi(argv[4]) : 1;
  const int grouping = argc > 5 ? std::atoi(argv[5]) : 2;
  std::filesystem::create_directories(out);

  runtime::qt::QtWindowRuntime ui;
  ui.set_program_folder(LUMIVAR_RESOURCES);  // the layout as the source tree has it
  testing::choose_example_study(ui);
  shell::Application session(ui);
  const runtime::Handle fig = session.table.call("Lumivar", {}, 1).at(0).scalar();
  gui::AnalysisViews* views = gui::add_analysis_views(session, ui);
  ui.flush();
  if (views == nullptr) return 1;
  const auto click = [&](const std::string& word) {
    QAbstractButton* button = testing::command_button(ui, fig, word);
    if (button == nullptr) {
      std::fprintf(stderr, "no button sends %s\n", word.c_str());
      std::exit(1);
    }
    button->click();
  };
  const auto type_count = [&](const std::string& count) {
    auto* box = dynamic_cast<QLineEdit*>(ui.widget(ui.find_by_tag("PermBox").at(0)));
    if (box == nullptr) std::exit(1);
    box->selectAll();
    QTest::keyClicks(box, QString::fromStdString(count));
  };
  for (const char* word : {"Load", "LoadRepGroup", "LoadGroup", "VarExp"}) click(word);
  ui.flush();

  // The long run: once the dialog has shown an estimate for a while, take
  // the screen around the main window, then cancel as the user would.
  bool taken = false;
  QElapsedTimer shown;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QProgressDialog* dialog = visible_progress_dialog();
    if (dialog == nullptr || taken) return;
    if (!shown.isValid()) shown.start();
    if (shown.elapsed() < 1500) return;
    const QRect area = ui.widget(fig)->frameGeometry().united(dialog->frameGeometry());
    QPixmap picture = QApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(),
                                                                area.height());
    {
      // No window manager runs on the virtual display to draw the dialog's
      // frame: its edge is drawn here, so that it stands apart from the window.
      QPainter edge(&picture);
      edge.setPen(QPen(dialog->palette().color(QPalette::Dark), 1));
      edge.drawRect(dialog->frameGeometry().translated(-area.topLeft()).adjusted(0, 0, -1, -1));
    }
    taken = save(picture, out + "/progress.png");
    for (QPushButton* b : dialog->findChildren<QPushButton*>()) b->click();  // Cancel
  });
  poll.start(100);
  type_count(long_run);
  click("Permute");
  poll.stop();
  if (!taken) std::fprintf(stderr, "the long run ended before its dialog was taken\n");

  type_count(permutations);
  click("Permute");
  ui.flush();

  views->shapes_action()->trigger();
  gui::ShapeView* shapes = views->shape_view();
  shapes->set_grouping(static_cast<gui::ShapeView::Grouping>(grouping));
  views->distributions_action()->trigger();
  gui::HistogramView* histogram = views->histogram_view();
  histogram->set_effect(effect);
  QTest::qWait(200);
  // Point at the ringed landmark of the row farthest from the consensus, as
  // a user checking it would: the row comes forward and the line under the
  // picture names it.
  gui::SceneWidget* canvas = shapes->canvas();
  const std::size_t farthest =
      geometry::farthest_first(geometry::consensus_distances(
                                  session.last_analysis->xpt, session.last_analysis->consensus,
                                  static_cast<std::size_t>(session.last_analysis->dimensions)))
          .front()
          .row;
  for (const plots::ScenePoint& p : canvas->scene()->points) {
    if (p.row != farthest || !p.ringed) continue;
    const plots::Point2 at = canvas->frame().to_pixels(p.at);
    const QPointF local(at.x, at.y);
    QMouseEvent move(QEvent::MouseMove, local, canvas->mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(canvas, &move);
  }
  const bool ok = save(shapes->grab(), out + "/shapes.png") &&
                  save(histogram->grab(), out + "/distribution.png");
  return taken && ok ? 0 : 1;
}
