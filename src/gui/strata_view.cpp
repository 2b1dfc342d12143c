#include "gui/strata_view.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <exception>

#include "gui/study_status.h"
#include "permutation/strata_report.h"

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
  // The cells are numbers of a few digits: a stop every 14 characters keeps
  // the columns apart.
  text_->setTabStopDistance(14 * QFontMetricsF(text_->font()).horizontalAdvance(QLatin1Char(' ')));
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
  } catch (const std::exception& e) {
    text_->setPlainText(QString::fromStdString(e.what()));
  }
}

}  // namespace lumivar::gui
