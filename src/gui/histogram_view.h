#pragma once
// The permutation distributions view: after "Permute", a window with the
// histogram of one effect's F ratio over the relabellings, the observed F
// marked and its P value given (plots::histogram_scene); a tab per effect,
// in report order. Before a "Permute" it says what to run.
#include <QWidget>
#include <memory>

#include "shell/analysis_snapshot.h"

class QTabBar;

namespace lumivar::gui {

class SceneWidget;
class PictureActions;

class HistogramView : public QWidget {
 public:
  explicit HistogramView(QWidget* parent = nullptr);

  // Shows `analysis`, keeping the effect picked. O(relabellings) per effect shown.
  void show_analysis(std::shared_ptr<const shell::AnalysisSnapshot> analysis);
  const std::shared_ptr<const shell::AnalysisSnapshot>& analysis() const { return analysis_; }

  // 0-based, report order (G1, G2, T(rep), G1xG2, G1xt, G2xt, G1xG2xt).
  int effect() const;
  void set_effect(int k);

  SceneWidget* canvas() const { return canvas_; }
  // Export picture… and Copy image.
  PictureActions* pictures() const { return pictures_; }
  QTabBar* effects() const { return tabs_; }

  // Why an analysis has no distributions to show (empty: it has some).
  static QString why_none(const shell::AnalysisSnapshot* analysis);

 private:
  void rebuild();

  std::shared_ptr<const shell::AnalysisSnapshot> analysis_;
  QTabBar* tabs_;
  SceneWidget* canvas_;
  PictureActions* pictures_;
};

}  // namespace lumivar::gui
