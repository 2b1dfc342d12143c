#pragma once
// The shape-space view: what the effects do to shape, drawn from the last
// analysis's superimposition. One window shows one of three pictures,
// chosen at its top: the principal component scores (PC i against PC j,
// coloured by G1, G2 or T, a specimen's two measurements joined), the change
// between two shapes (two levels of a grouping, or the ends of a component)
// as vectors and a thin-plate-spline grid, magnified as the user sets, and
// the mean shapes of a grouping's levels overlaid; a study in 3-D shows its
// shapes in the shape view's three projections, its changes without the
// grid. Pictures export like the other views'. The View menu opens it on
// each picture.
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "plots/shape_space_choices.h"
#include "shape_space/shape_space.h"
#include "shell/analysis_snapshot.h"
#include "shell/application.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QMenu;
class QSpinBox;

namespace lumivar::gui {

class SceneWidget;
class PictureActions;

class ShapeSpaceView : public QWidget {
 public:
  enum Picture { kComponents = 0, kChange, kMeans };

  explicit ShapeSpaceView(QWidget* parent = nullptr);

  // Computes the shape space of `analysis` (null: "Run an analysis first")
  // and shows the picture chosen. O(m p^2) for m rows of p coordinates.
  void show_analysis(std::shared_ptr<const shell::AnalysisSnapshot> analysis);
  void set_picture(Picture p);
  Picture picture() const;

  SceneWidget* canvas() const { return canvas_; }
  PictureActions* pictures() const { return pictures_; }
  QComboBox* picture_box() const { return picture_; }
  QComboBox* grouping_box() const { return grouping_; }
  QSpinBox* x_component_box() const { return x_component_; }
  QSpinBox* y_component_box() const { return y_component_; }
  // The pairs whose change can be drawn, by their names.
  QComboBox* pair_box() const { return pair_; }
  QDoubleSpinBox* magnification_box() const { return magnification_; }
  QLabel* status() const { return status_; }

 private:
  struct Pair {
    plots::Grouping grouping;
    std::size_t a = 0, b = 0;  // levels; or a = 0 and b the component (1-based)
    bool component = false;
  };
  void rebuild();
  void fill_pairs();
  void pointed_at(std::optional<std::size_t> point);
  plots::Grouping grouping() const;
  const runtime::Matrix& codes(plots::Grouping g) const;

  std::shared_ptr<const shell::AnalysisSnapshot> analysis_;
  std::optional<shape_space::ShapeSpace> space_;
  shape_space::StudyLabels labels_;
  QString failure_;  // why there is no shape space, when there is none
  std::vector<Pair> pairs_;
  SceneWidget* canvas_;
  PictureActions* pictures_;
  QComboBox* picture_;
  QComboBox* grouping_;
  QSpinBox* x_component_;
  QSpinBox* y_component_;
  QComboBox* pair_;
  QDoubleSpinBox* magnification_;
  std::vector<QWidget*> component_controls_, change_controls_, grouping_controls_;
  QLabel* status_;
};

// Adds "Principal components…", "Shape change…" and "Mean shapes…" to the
// `view` menu, enabled once `app` has an analysis; each opens (or raises)
// one shape-space view, owned by `owner`'s lifetime, on that picture.
void add_shape_space_entries(QMenu* view, shell::Application& app, QObject* owner);

}  // namespace lumivar::gui
