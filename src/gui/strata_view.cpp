#include "gui/strata_view.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <exception>

#include "gui/study_status.h"
#include "gui/tab_columns.h"
#include "permutation/permute.h"
#include "permutation/strata_report.h"
#include "runtime/error.h"

namespace lumivar::gui {

permutation::StrataResults strata_results(const shell::AnalysisSnapshot& a) {
  const bool tested = a.kind == shell::AnalysisKind::kPermute;
  return permutation::strata_analysis({a.group, a.repgroup, a.xpt},
                                      tested ? &a.permutation.plan : nullptr);
}

StrataView::StrataView(QWidget* parent) : QWidget(parent, Qt::Window) {
  text_ = new QPlainTextEdit(this);
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  resize(760, 420);
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
    results_ = strata_results(*analysis);
    text_->setPlainText(QString::fromStdString(permutation::strata_report(*results_)));
    align_tab_columns(text_);  // the headings over their columns
  } catch (const std::exception& e) {
    text_->setPlainText(QString::fromStdString(e.what()));
  }
}

void StrataView::show_study(const runtime::Session& s,
                            const permutation::PermuteSettings& settings,
                            const std::string& nperm_text) {
  setWindowTitle(QString::fromStdString(with_files("Lumivar: tests by strata", s.sources)));
  results_.reset();
  analysis_.reset();
  try {
    const std::optional<std::uint64_t> nperm = permutation::parse_permutation_count(nperm_text);
    if (!nperm)
      runtime::raise("The box for the number of permutations must hold one whole number of at "
                     "least 0 for the tests by strata.");
    const permutation::RunPlan plan = permutation::run_plan(settings, *nperm);
    geometry::SuperimpositionSettings superimposition;
    superimposition.threads = settings.threads;
    results_ = permutation::strata_of_data(s.data, s.group, s.repgroup, models::SsType::kIII,
                                           superimposition, &plan);
    text_->setPlainText(QString::fromStdString(permutation::strata_report(*results_)));
  } catch (const std::exception& e) {
    text_->setPlainText(QString::fromStdString(e.what()));
  }
}

}  // namespace lumivar::gui
