#include "gui/strata_view.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <atomic>
#include <exception>
#include <utility>

#include "gui/study_status.h"
#include "gui/tab_columns.h"
#include "permutation/permute.h"
#include "permutation/strata_report.h"
#include "runtime/error.h"
#include "runtime/progress_on_demand.h"
#include "runtime/progress_relay.h"
#include "shell/superimposition_monitor.h"

namespace lumivar::gui {

namespace {

// A run of relabellings whose progress shows, with Cancel, in a monitor
// opened through `open` (a stand-in of the relay the run goes beside).
class ShownPlan {
 public:
  ShownPlan(runtime::ProgressOpener open, permutation::RunPlan plan) : plan_(std::move(plan)) {
    plan_.cancel = &cancelled_;
    plan_.progress = [this, report = runtime::progress_on_demand(std::move(open), "Tests by strata")](
                         std::size_t done, std::size_t total) {
      if (!report(done, total)) cancelled_ = true;
    };
  }
  ShownPlan(const ShownPlan&) = delete;
  ShownPlan& operator=(const ShownPlan&) = delete;
  const permutation::RunPlan& plan() const { return plan_; }

 private:
  permutation::RunPlan plan_;
  std::atomic<bool> cancelled_{false};
};

}  // namespace

permutation::StrataResults strata_results(const shell::AnalysisSnapshot& a,
                                          const runtime::ProgressOpener& open, models::SsType type) {
  const bool tested = a.kind == shell::AnalysisKind::kPermute;
  runtime::ProgressRelay relay(open);
  const ShownPlan shown(relay.opener(), a.permutation.plan);
  permutation::StrataResults results;
  relay.run([&] {
    results = permutation::strata_analysis({a.group, a.repgroup, a.xpt, {}, type},
                                           tested ? &shown.plan() : nullptr);
  });
  if (a.sheet_labels) results.specimen_ids = a.sheet_labels->specimen_ids;
  return results;
}

StrataView::StrataView(runtime::ProgressOpener open, QWidget* parent)
    : QWidget(parent, Qt::Window), open_(std::move(open)) {
  // On unequal cells the sums of squares depend on what each effect is
  // adjusted for; on equal cells both types give the same table.
  ss_type_ = new QComboBox(this);
  ss_type_->addItem(QStringLiteral("type III: each effect adjusted for all the others"));
  ss_type_->addItem(QStringLiteral("type II: adjusted for the effects that do not contain it"));
  auto* type_label = new QLabel(QStringLiteral("Sums of squares on &unequal cells:"), this);
  type_label->setBuddy(ss_type_);
  connect(ss_type_, &QComboBox::currentIndexChanged, this, [this] {
    if (on_type_changed_) on_type_changed_();
  });
  text_ = new QPlainTextEdit(this);
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  auto* choice = new QHBoxLayout;
  choice->addWidget(type_label);
  choice->addWidget(ss_type_);
  choice->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(choice);
  layout->addWidget(text_);
  resize(760, 420);
}

models::SsType StrataView::ss_type() const {
  return ss_type_->currentIndex() == 1 ? models::SsType::kII : models::SsType::kIII;
}

void StrataView::set_ss_type(models::SsType type) {
  ss_type_->setCurrentIndex(type == models::SsType::kII ? 1 : 0);
}

void StrataView::show_text(const permutation::StrataResults& results) {
  text_->setPlainText(QString::fromStdString(permutation::strata_report(results)));
  align_tab_columns(text_);  // the headings over their columns
}

void StrataView::show_analysis(const std::shared_ptr<const shell::AnalysisSnapshot>& analysis) {
  setWindowTitle(QString::fromStdString(
      with_files("Lumivar: tests by strata", analysis ? analysis->sources : runtime::InputSources{})));
  results_.reset();
  analysis_ = analysis;
  if (!analysis) {
    text_->setPlainText(QStringLiteral("Run an analysis first: \"VarExp\" (4) or \"Permute\" (5)."));
    return;
  }
  try {
    results_ = strata_results(*analysis, open_, ss_type());
    show_text(*results_);
  } catch (const std::exception& e) {
    text_->setPlainText(QString::fromStdString(e.what()));
  }
}

void StrataView::show_study(const runtime::Session& s,
                            const permutation::PermuteSettings& settings,
                            const std::string& nperm_text,
                            const std::vector<std::string>& specimen_ids) {
  setWindowTitle(QString::fromStdString(with_files("Lumivar: tests by strata", s.sources)));
  results_.reset();
  analysis_.reset();
  try {
    const std::optional<std::uint64_t> nperm = permutation::parse_permutation_count(nperm_text);
    if (!nperm)
      runtime::raise("The box for the number of permutations must hold one whole number of at "
                     "least 0 for the tests by strata.");
    // The superimposition and the relabellings run beside the window's
    // thread, which shows their progress.
    runtime::ProgressRelay relay(open_);
    shell::SuperimpositionMonitor watch(relay.opener(), s.data.rows());
    const ShownPlan shown(relay.opener(), permutation::run_plan(settings, *nperm));
    geometry::SuperimpositionSettings superimposition;
    superimposition.threads = settings.threads;
    superimposition.dimensions = s.dimensions;
    superimposition.progress = watch.hook();
    relay.run([&] {
      results_ = permutation::strata_of_data(s.data, s.group, s.repgroup, ss_type(), superimposition,
                                             &shown.plan());
    });
    results_->specimen_ids = specimen_ids;
    show_text(*results_);
  } catch (const std::exception& e) {
    text_->setPlainText(QString::fromStdString(e.what()));
  }
}

}  // namespace lumivar::gui
