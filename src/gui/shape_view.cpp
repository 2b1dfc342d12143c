#include "gui/shape_view.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "plots/shape_scene.h"
#include "plots/shape_space_choices.h"
#include "gui/picture_export.h"
#include "gui/picture_view_layout.h"
#include "gui/scene_widget.h"
#include "gui/study_status.h"

namespace lumivar::gui {

namespace {

constexpr std::array<const char*, 3> kGroupingNames{"G1", "G2", "T"};
constexpr std::size_t kRingedRows = 3;

const char* const kIdleText =
    "Point at a landmark to see its row; the ringed rows lie farthest from the consensus.";

QString code_text(double code) { return QString::number(code, 'g', 10); }

// The pictures' name for the grouping of the buttons (the same order).
plots::Grouping same_grouping(ShapeView::Grouping g) { return static_cast<plots::Grouping>(g); }

}  // namespace

ShapeView::ShapeView(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(QStringLiteral("Lumivar: superimposed shapes"));
  auto* choose = new QHBoxLayout;
  choose->addWidget(new QLabel(QStringLiteral("Colour the rows by:")));
  auto* group = new QButtonGroup(this);
  const std::array<const char*, 3> tips{
      "The first grouping factor: the G1 code of each specimen.",
      "The second grouping factor: the G2 code of each specimen.",
      "The repeated measurement: the measurement code of each row."};
  for (int g = kG1; g <= kT; ++g) {
    buttons_[g] = new QRadioButton(QString::fromLatin1(kGroupingNames[g]));
    buttons_[g]->setToolTip(QString::fromLatin1(tips[g]));
    group->addButton(buttons_[g], g);
    choose->addWidget(buttons_[g]);
  }
  buttons_[kG1]->setChecked(true);
  choose->addStretch(1);
  QObject::connect(group, &QButtonGroup::idClicked, this,
                   [this](int id) { set_grouping(static_cast<Grouping>(id)); });

  const PictureArea area = lay_out_picture_view(this, choose);
  canvas_ = area.canvas;
  pictures_ = area.pictures;
  status_ = area.status;
  canvas_->on_hover = [this](std::optional<std::size_t> point) { pointed_at(point); };
  show_analysis(nullptr);
}

const runtime::Matrix& ShapeView::codes(Grouping g) const {
  switch (g) {
    case kG2: return analysis_->g2;
    case kT: return analysis_->t;
    case kG1: break;
  }
  return analysis_->g1;
}

void ShapeView::show_analysis(std::shared_ptr<const shell::AnalysisSnapshot> analysis) {
  analysis_ = std::move(analysis);
  setWindowTitle(QString::fromStdString(
      with_files("Lumivar: superimposed shapes", analysis_ ? analysis_->sources : runtime::InputSources{})));
  distances_.clear();
  rank_.clear();
  if (analysis_) {
    distances_ = geometry::consensus_distances(analysis_->xpt, analysis_->consensus,
                                                static_cast<std::size_t>(analysis_->dimensions));
    rank_.assign(distances_.size() + 1, 0);
    std::size_t next = 1;
    for (const geometry::RowDistance& r : geometry::farthest_first(distances_)) rank_[r.row] = next++;
  }
  rebuild();
}

const shape_space::StudyLabels* ShapeView::names() const {
  return analysis_ ? analysis_->sheet_labels.get() : nullptr;
}

void ShapeView::set_grouping(Grouping g) {
  if (!buttons_[g]->isChecked()) buttons_[g]->setChecked(true);
  if (g == grouping_) return;
  grouping_ = g;
  rebuild();
}

void ShapeView::rebuild() {
  if (!analysis_) {
    canvas_->show_message(QStringLiteral(
        "Run an analysis first: load the three files, then \"VarExp\" (4) or \"Permute\" (5)."));
    status_->clear();
    return;
  }
  plots::ShapeSceneOptions options;
  options.grouping = kGroupingNames[grouping_];
  options.outliers = kRingedRows;
  options.dimensions = analysis_->dimensions;
  if (const shape_space::StudyLabels* n = names())
    options.code_names = plots::names_of(*n, same_grouping(grouping_));
  canvas_->show_scene(plots::shape_scene(analysis_->xpt, analysis_->consensus, codes(grouping_), options));
  status_->setText(QString::fromLatin1(kIdleText));
}

void ShapeView::pointed_at(std::optional<std::size_t> point) {
  const plots::Scene* scene = canvas_->scene();
  if (!point || scene == nullptr || !analysis_) {
    if (analysis_) status_->setText(QString::fromLatin1(kIdleText));
    return;
  }
  const plots::ScenePoint& p = scene->points[*point];
  const std::size_t i = p.row;
  QString text = SceneWidget::point_text(p);
  const shape_space::StudyLabels* n = names();
  // An imported study's own words: the specimen's id and the codes' names.
  const auto code = [n](Grouping g, double c) {
    if (n == nullptr) return code_text(c);
    return QString::fromStdString(shape_space::level_name(plots::names_of(*n, same_grouping(g)), c));
  };
  if (n != nullptr && i <= n->specimens.size() && !n->specimens[i - 1].empty())
    text += QStringLiteral(" (specimen %1)").arg(QString::fromStdString(n->specimens[i - 1]));
  text += QStringLiteral(" \u2014 G1 = %1, G2 = %2, T = %3")
              .arg(code(kG1, analysis_->g1(i)), code(kG2, analysis_->g2(i)), code(kT, analysis_->t(i)));
  text += QStringLiteral(" \u2014 distance to the consensus %1 (rank %2 of %3, farthest first)")
              .arg(QString::number(distances_[i - 1].distance, 'g', 4))
              .arg(rank_[i])
              .arg(distances_.size());
  status_->setText(text);
}

}  // namespace lumivar::gui
