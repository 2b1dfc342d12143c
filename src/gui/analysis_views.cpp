#include "gui/analysis_views.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>
#include <QWidget>

#include "gui/histogram_view.h"
#include "runtime/qt/qt_window_runtime.h"
#include "gui/shape_space_view.h"
#include "gui/shape_view.h"

namespace lumivar::gui {

namespace {

// A menu bar along the top edge of a window whose controls are placed by
// hand: a layout holding nothing but the bar keeps it as wide as the window.
QMenuBar* add_menu_bar(QWidget* window) {
  auto* layout = new QVBoxLayout(window);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSizeConstraint(QLayout::SetNoConstraint);  // the window's size stays the runtime's
  auto* bar = new QMenuBar(window);
  layout->setMenuBar(bar);
  layout->addStretch(1);
  bar->raise();
  return bar;
}

template <class View>
View* open(QPointer<View>& view, const std::shared_ptr<const shell::AnalysisSnapshot>& analysis) {
  if (!view) {  // closing only hides a view: it comes back as it was left
    view = new View;
    view->show_analysis(analysis);
  }
  view->show();
  view->raise();
  view->activateWindow();
  return view;
}

const char* const kShapesTip =
    "The superimposed configurations of the last analysis, coloured by G1, G2 or T, with the "
    "consensus outline and the rows farthest from it ringed.";
const char* const kShapesFirstTip =
    "Run an analysis first: load the three files, then \"VarExp\" (4) or \"Permute\" (5).";
const char* const kDistributionsTip =
    "The F ratio of each effect over the relabellings of the last permutation test, with the "
    "observed F marked.";

}  // namespace

void listen_to_analyses(shell::Application& app, std::function<void()> listener) {
  std::function<void()> before = std::move(app.on_analysis_changed);
  app.on_analysis_changed = [before = std::move(before), listener = std::move(listener)] {
    if (before) before();
    listener();
  };
}

AnalysisViews::AnalysisViews(shell::Application& app, QWidget* main_window)
    : QObject(main_window), app_(app) {
  menu_bar_ = add_menu_bar(main_window);
  QMenu* view = menu_bar_->addMenu(QStringLiteral("&View"));
  view->setToolTipsVisible(true);  // a disabled entry says what to run first
  shapes_ = view->addAction(QStringLiteral("&Shapes\u2026"));
  distributions_ = view->addAction(QStringLiteral("&Permutation distributions\u2026"));
  QObject::connect(shapes_, &QAction::triggered, this, [this] { open_shapes(); });
  QObject::connect(distributions_, &QAction::triggered, this, [this] { open_distributions(); });
  add_shape_space_entries(view, app_, this);

  const QPointer<AnalysisViews> alive(this);
  listen_to_analyses(app_, [alive] {
    if (alive) alive->analysis_changed();
  });
  analysis_changed();
}

AnalysisViews::~AnalysisViews() {
  delete shape_view_.data();
  delete histogram_view_.data();
}

ShapeView* AnalysisViews::open_shapes() { return open(shape_view_, app_.last_analysis); }

HistogramView* AnalysisViews::open_distributions() {
  return open(histogram_view_, app_.last_analysis);
}

void AnalysisViews::analysis_changed() {
  const std::shared_ptr<const shell::AnalysisSnapshot>& last = app_.last_analysis;
  shapes_->setEnabled(last != nullptr);
  shapes_->setToolTip(QString::fromLatin1(last ? kShapesTip : kShapesFirstTip));
  const QString none = HistogramView::why_none(last.get());
  distributions_->setEnabled(none.isEmpty());
  distributions_->setToolTip(none.isEmpty() ? QString::fromLatin1(kDistributionsTip) : none);
  if (shape_view_) shape_view_->show_analysis(last);
  if (histogram_view_) histogram_view_->show_analysis(last);
}

AnalysisViews* add_analysis_views(shell::Application& app, QtWindowRuntime& ui) {
  for (runtime::Handle h : ui.find_by_tag("LumivarWindow")) {
    if (ui.type_of(h) != "figure" || ui.widget(h) == nullptr) continue;
    return new AnalysisViews(app, ui.widget(h));
  }
  return nullptr;
}

}  // namespace lumivar::gui
