#include "gui/histogram_view.h"

#include <QTabBar>
#include <QVBoxLayout>

#include "partition/partition.h"
#include "plots/histogram_scene.h"
#include "gui/picture_export.h"
#include "gui/scene_widget.h"
#include "gui/study_status.h"

namespace lumivar::gui {

HistogramView::HistogramView(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(QStringLiteral("Lumivar: permutation distributions of F"));
  tabs_ = new QTabBar;
  for (const char* label : partition::kEffectLabels) tabs_->addTab(QString::fromLatin1(label));
  tabs_->setToolTip(QStringLiteral("The effect whose F ratio is shown, in the order of the report."));
  QObject::connect(tabs_, &QTabBar::currentChanged, this, [this](int) { rebuild(); });
  canvas_ = new SceneWidget;
  pictures_ = new PictureActions(canvas_, this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(canvas_, 1);
  resize(820, 600);
  show_analysis(nullptr);
}

QString HistogramView::why_none(const shell::AnalysisSnapshot* a) {
  if (a == nullptr)
    return QStringLiteral(
        "Run the permutation test (\"Permute\", 5) first: these histograms show each effect's F "
        "over its relabellings.");
  if (a->kind != shell::AnalysisKind::kPermute)
    return QStringLiteral(
        "The last analysis was \"VarExp\": run the permutation test (\"Permute\", 5) to see each "
        "effect's F over its relabellings.");
  const std::uint64_t nperm = a->permutation.plan.nperm;
  if (!a->permutation.counts.f_values.empty()) return {};
  if (nperm == 0) return QStringLiteral("The last permutation test ran no relabellings.");
  if (nperm > permutation::kMaxKeptFValues)
    return QStringLiteral("The last permutation test ran %1 relabellings; the F values of at most %2 are kept.")
        .arg(nperm)
        .arg(permutation::kMaxKeptFValues);
  return QStringLiteral("The last permutation test kept no F values.");
}

int HistogramView::effect() const { return tabs_->currentIndex(); }

void HistogramView::set_effect(int k) { tabs_->setCurrentIndex(k); }

void HistogramView::show_analysis(std::shared_ptr<const shell::AnalysisSnapshot> analysis) {
  analysis_ = std::move(analysis);
  setWindowTitle(QString::fromStdString(
      with_files("Lumivar: permutation distributions of F", analysis_ ? analysis_->sources : runtime::InputSources{})));
  rebuild();
}

void HistogramView::rebuild() {
  const QString none = why_none(analysis_.get());
  tabs_->setEnabled(none.isEmpty());
  if (!none.isEmpty()) {
    canvas_->show_message(none);
    return;
  }
  const int k = effect();
  canvas_->show_scene(plots::histogram_scene(analysis_->f_values_of(k), analysis_->observed_f(k),
                                             partition::kEffectLabels[k],
                                             analysis_->permutation.p_perm_f[k]));
}

}  // namespace lumivar::gui
