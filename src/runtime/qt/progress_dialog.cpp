#include "runtime/qt/progress_dialog.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <cmath>

namespace lumivar::runtime::qt {

namespace detail {
constexpr int kSteps = 1000;  // the bar's resolution: counts may not fit an int
}  // namespace detail

std::string progress_text(std::size_t done, std::size_t total, double seconds_left) {
  std::string text = std::to_string(done) + " of " + std::to_string(total) + " done";
  if (seconds_left < 0 || done >= total) return text;
  const long s = std::lround(std::ceil(seconds_left));
  text += ", about ";
  if (s >= 60) text += std::to_string(s / 60) + " min ";
  return text + std::to_string(s % 60) + " s left";
}

ProgressDialog::ProgressDialog(const std::string& title, QWidget* parent)
    : dialog_(new QProgressDialog(parent)) {
  dialog_->setWindowTitle(QString::fromStdString(title));
  dialog_->setLabelText(QString::fromStdString(title) + QStringLiteral(": starting"));
  dialog_->setWindowModality(Qt::ApplicationModal);
  dialog_->setRange(0, detail::kSteps);
  dialog_->setMinimumDuration(500);  // short runs finish without a flash
  dialog_->setAutoClose(false);
  dialog_->setAutoReset(false);
  dialog_->setMinimumWidth(360);
  dialog_->setValue(0);
  clock_.start();
}

ProgressDialog::~ProgressDialog() {
  if (dialog_) {
    dialog_->reset();  // stops the timer that would still show it once due
    dialog_->hide();
    dialog_->deleteLater();
  }
}

bool ProgressDialog::update(std::size_t done, std::size_t total) {
  if (!dialog_) return true;
  const double fraction = total == 0 ? 1.0 : static_cast<double>(done) / static_cast<double>(total);
  const double elapsed = static_cast<double>(clock_.elapsed()) / 1000.0;
  dialog_->setLabelText(
      QString::fromStdString(progress_text(done, total, seconds_left(elapsed, done, total))));
  // setValue shows the dialog once the minimum duration has passed; the
  // events processed then include a click on Cancel.
  dialog_->setValue(static_cast<int>(std::lround(fraction * detail::kSteps)));
  QCoreApplication::processEvents();
  return !dialog_->wasCanceled();
}

}  // namespace lumivar::runtime::qt
