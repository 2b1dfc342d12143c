#include "gui/shape_space_view.h"

#include <QAction>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QSpinBox>
#include <array>

#include "gui/analysis_views.h"
#include "gui/picture_view_layout.h"
#include "gui/scene_widget.h"
#include "gui/study_status.h"
#include "plots/mean_shapes_scene.h"
#include "plots/pc_scatter_scene.h"
#include "plots/shape_change_scene.h"
#include "runtime/error.h"

namespace lumivar::gui {

namespace {

constexpr const char* kTitle = "Lumivar: shape space";
constexpr const char* kFirst =
    "Run an analysis first: load the three files, then \"VarExp\" (4) or \"Permute\" (5).";
// Components offered for a change between the ends of a component.
constexpr std::size_t kEndsOffered = 5;

QLabel* label(const char* text) { return new QLabel(QString::fromLatin1(text)); }

}  // namespace

ShapeSpaceView::ShapeSpaceView(QWidget* parent) : QWidget(parent, Qt::Window) {
  picture_ = new QComboBox;
  picture_->addItems({QStringLiteral("Principal components"), QStringLiteral("Shape change"),
                      QStringLiteral("Mean shapes")});
  grouping_ = new QComboBox;
  grouping_->addItems({QStringLiteral("G1"), QStringLiteral("G2"), QStringLiteral("T")});
  grouping_->setToolTip(QStringLiteral("The grouping whose levels colour the scores or give the mean shapes."));
  x_component_ = new QSpinBox;
  y_component_ = new QSpinBox;
  for (QSpinBox* b : {x_component_, y_component_}) {
    b->setRange(1, 1);
    b->setPrefix(QStringLiteral("PC"));
  }
  pair_ = new QComboBox;
  pair_->setToolTip(QStringLiteral("From which shape to which: two levels of a grouping, or the lowest and "
                                   "highest scores on a component."));
  magnification_ = new QDoubleSpinBox;
  magnification_->setRange(0.1, 1000);
  magnification_->setDecimals(1);
  magnification_->setValue(1);
  magnification_->setSuffix(QStringLiteral(" \u00d7"));
  magnification_->setToolTip(QStringLiteral("How many times the vectors and the grid magnify the change."));

  auto* choose = new QHBoxLayout;
  choose->addWidget(label("Picture:"));
  choose->addWidget(picture_);
  const auto add = [choose](std::vector<QWidget*>& group, std::initializer_list<QWidget*> widgets) {
    for (QWidget* w : widgets) {
      choose->addWidget(w);
      group.push_back(w);
    }
  };
  add(grouping_controls_, {label("by"), grouping_});
  add(component_controls_, {x_component_, label("against"), y_component_});
  add(change_controls_, {pair_, label("magnified"), magnification_});
  choose->addStretch(1);

  const PictureArea area = lay_out_picture_view(this, choose);
  canvas_ = area.canvas;
  pictures_ = area.pictures;
  status_ = area.status;
  canvas_->on_hover = [this](std::optional<std::size_t> point) { pointed_at(point); };

  for (QComboBox* box : {picture_, grouping_, pair_})
    QObject::connect(box, &QComboBox::currentIndexChanged, this, [this] { rebuild(); });
  for (QSpinBox* box : {x_component_, y_component_})
    QObject::connect(box, &QSpinBox::valueChanged, this, [this] { rebuild(); });
  QObject::connect(magnification_, &QDoubleSpinBox::valueChanged, this, [this] { rebuild(); });
  show_analysis(nullptr);
}

ShapeSpaceView::Picture ShapeSpaceView::picture() const { return static_cast<Picture>(picture_->currentIndex()); }

void ShapeSpaceView::set_picture(Picture p) { picture_->setCurrentIndex(p); }

plots::Grouping ShapeSpaceView::grouping() const { return static_cast<plots::Grouping>(grouping_->currentIndex()); }

const runtime::Matrix& ShapeSpaceView::codes(plots::Grouping g) const {
  switch (g) {
    case plots::Grouping::kG2: return analysis_->g2;
    case plots::Grouping::kT: return analysis_->t;
    case plots::Grouping::kG1: break;
  }
  return analysis_->g1;
}

void ShapeSpaceView::show_analysis(std::shared_ptr<const shell::AnalysisSnapshot> analysis) {
  analysis_ = std::move(analysis);
  setWindowTitle(QString::fromStdString(
      with_files(kTitle, analysis_ ? analysis_->sources : runtime::InputSources{})));
  space_.reset();
  failure_.clear();
  if (analysis_) {
    try {
      const shell::AnalysisSnapshot& a = *analysis_;
      space_ = shape_space::shape_space(
          {&a.data, &a.xpt, &a.consensus, &a.g1, &a.g2, &a.t, static_cast<std::size_t>(a.dimensions)});
      labels_ = a.sheet_labels ? *a.sheet_labels : shape_space::labels_from_rows(a.data);
    } catch (const std::exception& e) {
      failure_ = QString::fromStdString(runtime::error_text(e));
    }
  }
  const int components = space_ ? static_cast<int>(space_->components.scores.cols()) : 0;
  for (QSpinBox* b : {x_component_, y_component_}) {
    const QSignalBlocker quiet(b);
    b->setRange(1, std::max(components, 1));
  }
  {
    const QSignalBlocker quiet(y_component_);
    if (y_component_->value() == x_component_->value() && components >= 2)
      y_component_->setValue(x_component_->value() == 1 ? 2 : 1);
  }
  fill_pairs();
  rebuild();
}

void ShapeSpaceView::fill_pairs() {
  const QSignalBlocker quiet(pair_);
  const int kept = pair_->currentIndex();
  pair_->clear();
  pairs_.clear();
  if (!space_) return;
  for (plots::Grouping g : {plots::Grouping::kG1, plots::Grouping::kG2, plots::Grouping::kT}) {
    const std::vector<plots::NamedShape> means = plots::level_means(*space_, g, labels_);
    for (std::size_t a = 0; a < means.size(); ++a)
      for (std::size_t b = a + 1; b < means.size(); ++b) {
        pairs_.push_back({g, a, b, false});
        pair_->addItem(QString::fromStdString(means[a].name + " \u2192 " + means[b].name));
      }
  }
  const auto components = static_cast<std::size_t>(space_->components.scores.cols());
  for (std::size_t c = 1; c <= std::min(components, kEndsOffered); ++c) {
    pairs_.push_back({plots::Grouping::kG1, 0, c, true});
    pair_->addItem(QStringLiteral("PC%1: low \u2192 high").arg(c));
  }
  pair_->setCurrentIndex(kept >= 0 && kept < pair_->count() ? kept : 0);
}

void ShapeSpaceView::rebuild() {
  const Picture p = picture();
  for (QWidget* w : grouping_controls_) w->setVisible(p != kChange);
  for (QWidget* w : component_controls_) w->setVisible(p == kComponents);
  for (QWidget* w : change_controls_) w->setVisible(p == kChange);
  status_->clear();
  if (!analysis_ || !space_) {
    canvas_->show_message(analysis_ ? failure_ : QString::fromLatin1(kFirst));
    return;
  }
  const shape_space::ShapeSpace& s = *space_;
  const plots::Grouping g = grouping();
  try {
    switch (p) {
      case kComponents: {
        plots::PcScatterOptions o;
        o.x_component = static_cast<std::size_t>(x_component_->value());
        o.y_component = static_cast<std::size_t>(y_component_->value());
        o.grouping = plots::grouping_name(g);
        o.level_names = &plots::names_of(labels_, g);
        canvas_->show_scene(plots::pc_scatter_scene(s.components, codes(g), analysis_->group.rows(), labels_, o));
        status_->setText(QStringLiteral("Point at a score to see its specimen and row."));
        break;
      }
      case kChange: {
        if (pairs_.empty()) {
          canvas_->show_message(QStringLiteral("No grouping has two levels and there is no component: no change to draw."));
          break;
        }
        const Pair& chosen = pairs_[static_cast<std::size_t>(std::max(pair_->currentIndex(), 0))];
        const plots::ShapePair pair = chosen.component ? plots::component_pair(s, chosen.b)
                                                       : plots::level_pair(s, chosen.grouping, chosen.a, chosen.b, labels_);
        plots::ShapeChangeOptions o;
        o.from_name = pair.from.name;
        o.to_name = pair.to.name;
        o.magnification = magnification_->value();
        canvas_->show_scene(plots::shape_change_scene(pair.from.shape, pair.to.shape, s.dimension, o));
        break;
      }
      case kMeans:
        canvas_->show_scene(plots::mean_shapes_scene(plots::level_means(s, g, labels_), s.dimension,
                                                     std::string("Mean shapes of ") + plots::grouping_name(g)));
        break;
    }
  } catch (const std::exception& e) {
    canvas_->show_message(QString::fromStdString(runtime::error_text(e)));
  }
}

void ShapeSpaceView::pointed_at(std::optional<std::size_t> point) {
  const plots::Scene* scene = canvas_->scene();
  if (!point || scene == nullptr || !analysis_ || picture() != kComponents) return;
  const plots::ScenePoint& p = scene->points[*point];
  status_->setText(SceneWidget::point_text(p) +
                   QStringLiteral(" \u2014 G1 = %1, G2 = %2, T = %3")
                       .arg(QString::fromStdString(shape_space::level_name(labels_.g1, analysis_->g1(p.row))),
                            QString::fromStdString(shape_space::level_name(labels_.g2, analysis_->g2(p.row))),
                            QString::fromStdString(shape_space::level_name(labels_.t, analysis_->t(p.row)))));
}

void add_shape_space_entries(QMenu* view, shell::Application& app, QObject* owner) {
  auto holder = std::make_shared<QPointer<ShapeSpaceView>>();
  const std::array<std::pair<const char*, ShapeSpaceView::Picture>, 3> entries{
      {{"Principal &components\u2026", ShapeSpaceView::kComponents},
       {"Shape c&hange\u2026", ShapeSpaceView::kChange},
       {"&Mean shapes\u2026", ShapeSpaceView::kMeans}}};
  std::vector<QAction*> actions;
  for (const auto& [text, picture] : entries) {
    QAction* a = view->addAction(QString::fromUtf8(text));
    actions.push_back(a);
    QObject::connect(a, &QAction::triggered, owner, [&app, holder, p = picture] {
      if (!*holder) {
        *holder = new ShapeSpaceView;
        (*holder)->show_analysis(app.last_analysis);
      }
      (*holder)->set_picture(p);
      (*holder)->show();
      (*holder)->raise();
      (*holder)->activateWindow();
    });
  }
  const auto changed = [&app, holder, actions] {
    for (QAction* a : actions) {
      a->setEnabled(app.last_analysis != nullptr);
      a->setToolTip(QString::fromLatin1(app.last_analysis
                                             ? "Principal components, shape change and mean shapes of the last analysis."
                                             : kFirst));
    }
    if (*holder) (*holder)->show_analysis(app.last_analysis);
  };
  changed();
  const QPointer<QObject> alive(owner);
  listen_to_analyses(app, [alive, changed] {
    if (alive) changed();
  });
  QObject::connect(owner, &QObject::destroyed, [holder] { delete holder->data(); });
}

}  // namespace lumivar::gui
