// The views of the last analysis on the main window: the "View" menu, the
// shape view and the permutation distributions, driven through the window's
// own buttons on the example study.
#include "gui/analysis_views.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "support/command_button.h"
#include "support/example_study_files.h"
#include "support/scripted_window.h"
#include "support/views_window.h"
#include "support/temp_files.h"
#include "partition/partition.h"
#include "plots/palette.h"
#include "gui/histogram_view.h"
#include "runtime/qt/qt_window_runtime.h"
#include "gui/scene_widget.h"
#include "gui/shape_view.h"
#include "support/progress_dialogs.h"

namespace lumivar {
namespace {

using runtime::Handle;
using gui::AnalysisViews;
using gui::HistogramView;
using gui::SceneWidget;
using gui::ShapeView;

using testing::example;

class Views : public ::testing::Test, protected testing::ViewsWindow {
 protected:
  void permute(const std::string& count) {
    auto* box = dynamic_cast<QLineEdit*>(ui.widget(ui.find_by_tag("PermBox").at(0)));
    ASSERT_NE(box, nullptr);
    box->selectAll();
    QTest::keyClicks(box, QString::fromStdString(count));
    press("Permute");
  }
};

// Rows of the example study and landmarks per row.
constexpr std::size_t kRows = 80, kLandmarks = 12;

TEST_F(Views, TheViewMenuOpensOnceThereIsSomethingToShow) {
  ASSERT_NE(views, nullptr);
  QWidget* window = ui.widget(fig);
  QMenuBar* bar = views->menu_bar();
  ASSERT_EQ(bar->parentWidget(), window);
  ASSERT_EQ(bar->actions().size(), 1);
  const QList<QAction*> entries = bar->actions().front()->menu()->actions();
  ASSERT_EQ(entries.size(), 5);  // then the three pictures of the shape space
  EXPECT_EQ(entries[0], views->shapes_action());
  EXPECT_EQ(entries[1], views->distributions_action());

  // The bar spans the window above every control, also at the smallest size.
  for (bool smallest : {false, true}) {
    if (smallest) window->resize(window->minimumSize());
    QApplication::processEvents();
    EXPECT_EQ(bar->geometry().top(), 0);
    EXPECT_EQ(bar->width(), window->width());
    for (Handle c : ui.children(fig)) {
      if (QWidget* w = ui.widget(c)) {
        EXPECT_GT(w->geometry().top(), bar->geometry().bottom()) << ui.get(c, "Tag").text();
      }
    }
  }

  EXPECT_FALSE(views->shapes_action()->isEnabled());
  EXPECT_FALSE(views->distributions_action()->isEnabled());
  // A view opened all the same says what to run first.
  EXPECT_EQ(views->open_shapes()->canvas()->scene(), nullptr);
  EXPECT_TRUE(views->shape_view()->canvas()->message().startsWith("Run an analysis first"));

  load_study();
  press("VarExp");
  EXPECT_TRUE(views->shapes_action()->isEnabled());
  EXPECT_FALSE(views->distributions_action()->isEnabled());
  EXPECT_NE(views->shape_view()->canvas()->scene(), nullptr);  // the open view followed

  permute("20");
  EXPECT_TRUE(views->shapes_action()->isEnabled());
  EXPECT_TRUE(views->distributions_action()->isEnabled());
  views->distributions_action()->trigger();
  ASSERT_NE(views->histogram_view(), nullptr);
  EXPECT_TRUE(views->histogram_view()->isVisible());
}

TEST(ViewsWithoutTheMainWindow, AreNotAdded) {
  runtime::qt::QtWindowRuntime ui;
  shell::Application app(ui);
  EXPECT_EQ(gui::add_analysis_views(app, ui), nullptr);
  EXPECT_FALSE(app.on_analysis_changed);
}

// The mouse moved over `w` to `at`, no button pressed, as the window system reports it.
void hover(QWidget* w, QPoint at) {
  QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(w->mapToGlobal(at)), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &move);
}

// The point of `scene` farthest, in pixels, from every other point of the
// data: the one a hover reaches without doubt.
std::size_t loneliest_point(const plots::Scene& s, const plots::PlotFrame& f) {
  std::size_t best = 0;
  double best_gap = -1;
  for (std::size_t i = 0; i < s.points.size(); ++i) {
    if (s.points[i].row == 0) continue;
    const plots::Point2 a = f.to_pixels(s.points[i].at);
    double gap = INFINITY;
    for (std::size_t j = 0; j < s.points.size(); ++j) {
      if (j == i) continue;
      const plots::Point2 b = f.to_pixels(s.points[j].at);
      gap = std::min(gap, std::hypot(a.x - b.x, a.y - b.y));
    }
    if (gap > best_gap) {
      best_gap = gap;
      best = i;
    }
  }
  return best;
}

TEST_F(Views, TheShapeViewShowsEveryLandmarkOfEveryRowAndNamesThePointedRow) {
  load_study();
  press("VarExp");
  views->shapes_action()->trigger();
  ShapeView* view = views->shape_view();
  ASSERT_NE(view, nullptr);
  view->resize(900, 720);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
  SceneWidget* canvas = view->canvas();
  const plots::Scene* scene = canvas->scene();
  ASSERT_NE(scene, nullptr);
  EXPECT_EQ(scene->title, "Superimposed configurations by G1");
  std::set<std::pair<std::size_t, std::size_t>> seen;
  for (const plots::ScenePoint& p : scene->points)
    if (p.row > 0) {
      EXPECT_TRUE(seen.insert({p.row, p.landmark}).second);
    }
  EXPECT_EQ(seen.size(), kRows * kLandmarks);
  EXPECT_EQ(*seen.begin(), std::make_pair(std::size_t{1}, std::size_t{1}));
  EXPECT_EQ(*seen.rbegin(), std::make_pair(kRows, kLandmarks));

  // Pointing at a point names its row and brings the row forward, drawn in
  // its colour where the point is.
  const plots::PlotFrame frame = canvas->frame();
  const plots::ScenePoint target = scene->points[loneliest_point(*scene, frame)];
  const plots::Point2 at = frame.to_pixels(target.at);
  const QPoint pixel(static_cast<int>(std::floor(at.x)), static_cast<int>(std::floor(at.y)));
  hover(canvas, pixel);
  EXPECT_EQ(canvas->highlighted_row(), target.row);
  const QString name = QString("row %1, landmark %2").arg(target.row).arg(target.landmark);
  const runtime::Matrix& g1 = app.last_analysis->g1;
  EXPECT_TRUE(view->status()->text().startsWith(name + " \u2014 G1 = " + QString::number(g1(target.row))))
      << view->status()->text().toStdString();
  const QColor drawn = canvas->grab().toImage().pixelColor(pixel);
  EXPECT_EQ(plots::Colour({static_cast<std::uint8_t>(drawn.red()), static_cast<std::uint8_t>(drawn.green()),
                           static_cast<std::uint8_t>(drawn.blue())}),
            target.colour);

  // Away from the points nothing is named.
  hover(canvas, QPoint(static_cast<int>(frame.plot_area().left) + 2,
                       static_cast<int>(frame.plot_area().bottom()) - 2));
  EXPECT_EQ(canvas->highlighted_row(), 0u);
  EXPECT_TRUE(view->status()->text().startsWith("Point at a landmark"));
}

TEST_F(Views, PickingAnotherGroupingRecoloursThePoints) {
  load_study();
  press("VarExp");
  ShapeView* view = views->open_shapes();
  const auto colours = [&] {
    std::map<std::size_t, plots::Colour> by_row;
    for (const plots::ScenePoint& p : view->canvas()->scene()->points)
      if (p.row > 0) by_row[p.row] = p.colour;
    return by_row;
  };
  const std::map<std::size_t, plots::Colour> by_g1 = colours();
  QTest::mouseClick(view->grouping_button(ShapeView::kT), Qt::LeftButton);
  EXPECT_EQ(view->grouping(), ShapeView::kT);
  EXPECT_EQ(view->canvas()->scene()->title, "Superimposed configurations by T");
  const std::map<std::size_t, plots::Colour> by_t = colours();
  // The measurement codes are 1 and 2: the first and second colour.
  const runtime::Matrix& t = app.last_analysis->t;
  for (std::size_t i = 1; i <= kRows; ++i)
    EXPECT_EQ(by_t.at(i), plots::group_colour(t(i) == 1 ? 0 : 1)) << "row " << i;
  EXPECT_NE(by_t, by_g1);
  // The grouping picked stays with the next analysis.
  press("VarExp");
  EXPECT_EQ(colours(), by_t);
}

TEST_F(Views, TheDistributionsHoldEveryRelabellingOfEachEffect) {
  load_study();
  app.permute_settings.seed = 11;
  permute("199");
  HistogramView* view = views->open_distributions();
  ASSERT_EQ(view->effects()->count(), partition::kEffectCount);
  for (int k = 0; k < partition::kEffectCount; ++k) {
    view->effects()->setCurrentIndex(k);
    const plots::Scene* s = view->canvas()->scene();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->title, std::string("Permutation distribution of F for ") + partition::kEffectLabels[k]);
    double counted = 0;
    for (const plots::Rect& bar : s->rects) counted += bar.box.y_max;
    EXPECT_EQ(counted, 199) << partition::kEffectLabels[k];
    ASSERT_FALSE(s->lines.empty());
    EXPECT_EQ(s->lines.front().points.front().x, app.last_analysis->observed_f(k));
    EXPECT_NE(s->subtitle.find("from 199 relabellings"), std::string::npos) << s->subtitle;
  }
}

// The example landmarks with one landmark of one row moved far off, as a
// digitising slip would.
std::string slipped_landmarks(const testing::TempFolder& folder, std::size_t row, std::size_t landmark) {
  std::istringstream in(testing::read_file(example("landmarks.txt")));
  std::ostringstream out;
  std::string line;
  out.precision(10);
  for (std::size_t i = 1; std::getline(in, line); ++i) {
    std::istringstream values(line);
    std::string v;
    for (std::size_t c = 1; values >> v; ++c) {
      out << (c > 1 ? " " : "");
      if (i == row && (c == 2 * landmark - 1 || c == 2 * landmark))
        out << std::stod(v) + 80;
      else
        out << v;
    }
    out << '\n';
  }
  return folder.write("slipped.txt", out.str());
}

TEST_F(Views, OpenViewsFollowTheNextAnalysis) {
  load_study();
  permute("20");
  ShapeView* shapes = views->open_shapes();
  HistogramView* histograms = views->open_distributions();
  EXPECT_NE(histograms->canvas()->scene(), nullptr);
  const std::shared_ptr<const shell::AnalysisSnapshot> first = app.last_analysis;

  const testing::TempFolder folder;
  files = {slipped_landmarks(folder, 13, 4)};
  press("Load");
  press("VarExp");
  ASSERT_NE(app.last_analysis, first);
  EXPECT_EQ(shapes->analysis(), app.last_analysis);
  const plots::Scene* s = shapes->canvas()->scene();
  ASSERT_NE(s, nullptr);
  for (const plots::ScenePoint& p : s->points) {
    if (p.row == 0) continue;
    EXPECT_EQ(p.at.x, app.last_analysis->xpt(p.row, 2 * p.landmark - 1));
    EXPECT_EQ(p.at.y, app.last_analysis->xpt(p.row, 2 * p.landmark));
    if (p.ringed && p.row == 13) {
      EXPECT_EQ(p.landmark, 4u);
    }
  }
  EXPECT_NE(s->subtitle.find("farthest from the consensus (13, "), std::string::npos) << s->subtitle;
  // After "VarExp" there are no relabellings to show.
  EXPECT_EQ(histograms->analysis(), app.last_analysis);
  EXPECT_EQ(histograms->canvas()->scene(), nullptr);
  EXPECT_FALSE(histograms->effects()->isEnabled());
  EXPECT_FALSE(views->distributions_action()->isEnabled());
}

TEST_F(Views, ACancelledPermuteLeavesTheResultsAndTheViewsAsTheyWere) {
  load_study();
  permute("20");
  ShapeView* shapes = views->open_shapes();
  HistogramView* histograms = views->open_distributions();
  const QString report = shown("ResBox");
  const std::shared_ptr<const shell::AnalysisSnapshot> before = app.last_analysis;
  const runtime::Matrix dmatrix = app.session.dmatrix;
  const std::string histogram_subtitle = histograms->canvas()->scene()->subtitle;

  // Cancel as the user does, once the dialog has shown itself. Should no
  // dialog come, the run is stopped all the same after a while, and the
  // test fails instead of waiting for a billion relabellings.
  std::atomic<bool> give_up{false};
  app.permute_settings.cancel = &give_up;
  QTimer deadline;
  deadline.setSingleShot(true);
  QObject::connect(&deadline, &QTimer::timeout, [&] { give_up = true; });
  deadline.start(30000);
  testing::CancelOnceShown user;
  permute("1000000000");
  user.stop();
  EXPECT_TRUE(user.clicked);
  ASSERT_FALSE(console.lines.empty());
  EXPECT_EQ(console.lines.back().rfind("The permutation test was cancelled after ", 0), 0u)
      << console.lines.back();
  // The user's own cancel is news, not a fault: a box titled so, with the
  // information icon.
  QMessageBox* told = testing::cancelled_box();
  ASSERT_NE(told, nullptr);
  EXPECT_EQ(told->icon(), QMessageBox::Information);
  EXPECT_EQ(told->text().toStdString(), console.lines.back());
  told->close();

  EXPECT_EQ(shown("ResBox"), report);
  EXPECT_EQ(app.session.dmatrix, dmatrix);
  EXPECT_EQ(app.last_analysis, before);
  EXPECT_EQ(shapes->analysis(), before);
  EXPECT_EQ(histograms->analysis(), before);
  EXPECT_EQ(histograms->canvas()->scene()->subtitle, histogram_subtitle);
  EXPECT_TRUE(views->distributions_action()->isEnabled());
}

}  // namespace
}  // namespace lumivar
