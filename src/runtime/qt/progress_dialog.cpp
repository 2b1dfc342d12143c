#include "runtime/qt/progress_dialog.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <cmath>
#include <limits>

namespace lumivar::runtime::qt {

namespace {
constexpr int kSteps = 1000;  // the bar's resolution: counts may not fit an int
// A run that ends within this time shows no dialog at all.
constexpr double kShowAfterSeconds = 1.0;
}  // namespace

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
  dialog_->setRange(0, kSteps);
  // The dialog is shown by update() alone, once the run has lasted a second;
  // QProgressDialog's own estimate could show it earlier.
  dialog_->setMinimumDuration(std::numeric_limits<int>::max());
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

bool ProgressDialog::still_running() {
  if (!heard_) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return !dialog_ || !dialog_->wasCanceled();
  }
  return update(done_, total_);
}

bool ProgressDialog::update(std::size_t done, std::size_t total) {
  if (!dialog_) return true;
  heard_ = true;
  done_ = done;
  total_ = total;
  // Cancelled: the run is ending (a step beside the window's thread may
  // still report until its next check); the hidden dialog stays hidden.
  if (dialog_->wasCanceled()) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return false;
  }
  const double fraction = total == 0 ? 1.0 : static_cast<double>(done) / static_cast<double>(total);
  const double elapsed = static_cast<double>(clock_.elapsed()) / 1000.0;
  dialog_->setLabelText(
      QString::fromStdString(progress_text(done, total, seconds_left(elapsed, done, total))));
  if (!dialog_->isVisible() && done < total && elapsed >= kShowAfterSeconds) dialog_->show();
  dialog_->setValue(static_cast<int>(std::lround(fraction * kSteps)));
  // The windows are redrawn either way. Until the dialog shows, what the user
  // does waits in the queue, or a click would start another command inside
  // this one; once it shows, its modality keeps the other windows out of
  // reach and a click on Cancel is heard.
  QCoreApplication::processEvents(dialog_->isVisible() ? QEventLoop::AllEvents
                                                       : QEventLoop::ExcludeUserInputEvents);
  return !dialog_->wasCanceled();
}

}  // namespace lumivar::runtime::qt
