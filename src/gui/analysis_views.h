#pragma once
// The views of the last analysis in the window program: a "View" menu on the
// main window with "Shapes…" (shape_view.h), "Permutation distributions…"
// (histogram_view.h) and the shape space's three pictures (shape_space_view.h). The entries are enabled once there is something to
// show, and say in their tool tips what to run before. Open views follow
// each new analysis. None of this goes through the dispatcher: the views
// only read Application::last_analysis.
#include <QObject>
#include <QPointer>
#include <functional>

#include "gui/histogram_view.h"
#include "gui/shape_view.h"
#include "shell/application.h"

class QAction;
class QMenuBar;
class QWidget;

namespace lumivar::runtime::qt {
class QtWindowRuntime;
}

namespace lumivar::gui {

using runtime::qt::QtWindowRuntime;

// The application has one analysis hook; each listener added is called after
// those added before it.
void listen_to_analyses(shell::Application& app, std::function<void()> listener);

class AnalysisViews : public QObject {
 public:
  // Puts the menu bar on `main_window` (a window's top-level widget, which
  // then owns this object) and listens to `app`'s analyses, alongside any
  // listener already there. `app` must outlive the main window's widget.
  AnalysisViews(shell::Application& app, QWidget* main_window);
  ~AnalysisViews() override;  // closes the views

  QMenuBar* menu_bar() const { return menu_bar_; }
  QAction* shapes_action() const { return shapes_; }
  QAction* distributions_action() const { return distributions_; }

  // Opens (or raises) a view showing the last analysis.
  ShapeView* open_shapes();
  HistogramView* open_distributions();

  // The views, null until first opened.
  ShapeView* shape_view() const { return shape_view_; }
  HistogramView* histogram_view() const { return histogram_view_; }

 private:
  void analysis_changed();

  shell::Application& app_;
  QMenuBar* menu_bar_;
  QAction* shapes_;
  QAction* distributions_;
  QPointer<ShapeView> shape_view_;
  QPointer<HistogramView> histogram_view_;
};

// The start hook of the window program: gives the main window (the figure
// tagged "LumivarWindow") its views. Null, and nothing done, when the
// main window is not open.
AnalysisViews* add_analysis_views(shell::Application& app, QtWindowRuntime& ui);

}  // namespace lumivar::gui
