#pragma once
// The shape view: a window with the superimposed configurations of the last
// analysis as points coloured by the grouping the user picks (G1, G2 or T),
// the consensus outline with its landmark numbers and the rows farthest from
// the consensus ringed (plots::shape_scene). Pointing at a point names its
// row and landmark and brings the row's configuration forward, the first
// check for a digitising mistake.
#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "geometry/consensus_distance.h"
#include "shell/analysis_snapshot.h"

class QLabel;
class QRadioButton;

namespace lumivar::gui {

class SceneWidget;
class PictureActions;

class ShapeView : public QWidget {
 public:
  enum Grouping { kG1 = 0, kG2, kT };

  explicit ShapeView(QWidget* parent = nullptr);

  // Shows `analysis` (null: "Run an analysis first"), keeping the grouping
  // picked; an analysis of an imported study speaks the sheet's words (its
  // sheet_labels). O(m k + m log m).
  void show_analysis(std::shared_ptr<const shell::AnalysisSnapshot> analysis);
  const std::shared_ptr<const shell::AnalysisSnapshot>& analysis() const { return analysis_; }

  Grouping grouping() const { return grouping_; }
  void set_grouping(Grouping g);

  SceneWidget* canvas() const { return canvas_; }
  // Export picture… and Copy image.
  PictureActions* pictures() const { return pictures_; }
  QRadioButton* grouping_button(Grouping g) const { return buttons_[g]; }
  // The line under the picture: what the pointed-at point is, or how to use the view.
  QLabel* status() const { return status_; }

 private:
  void rebuild();
  void pointed_at(std::optional<std::size_t> point);
  const runtime::Matrix& codes(Grouping g) const;

  // The sheet's names of the analysis shown; null: numbers only.
  const shape_space::StudyLabels* names() const;

  std::shared_ptr<const shell::AnalysisSnapshot> analysis_;
  Grouping grouping_ = kG1;
  // Distance of each row to the consensus (data order) and its rank, 1 = farthest.
  std::vector<geometry::RowDistance> distances_;
  std::vector<std::size_t> rank_;
  SceneWidget* canvas_;
  PictureActions* pictures_;
  std::array<QRadioButton*, 3> buttons_{};
  QLabel* status_;
};

}  // namespace lumivar::gui
