#pragma once
// The progress of a long action in the Qt window program: a modal
// QProgressDialog with a Cancel button over the current window, shown once
// the action has run for a second, saying how much is done and about how long
// is left. update() processes the program's events, so the windows are
// redrawn and a click on Cancel is heard; before the dialog shows, input waits
// in the queue, and after, modality keeps every other control out of reach.
#include <QElapsedTimer>
#include <QPointer>
#include <string>

#include "runtime/progress_monitor.h"

class QProgressDialog;
class QWidget;

namespace lumivar::runtime::qt {

class ProgressDialog : public ProgressMonitor {
 public:
  ProgressDialog(const std::string& title, QWidget* parent);
  ~ProgressDialog() override;  // closes the dialog
  bool update(std::size_t done, std::size_t total) override;
  bool still_running() override;

 private:
  QPointer<QProgressDialog> dialog_;
  QElapsedTimer clock_;
  // The last report, which still_running() shows again.
  bool heard_ = false;
  std::size_t done_ = 0;
  std::size_t total_ = 0;
};

// "250 of 999 done, about 12 s left" (or "1 min 5 s"); no estimate while nothing is done.
std::string progress_text(std::size_t done, std::size_t total, double seconds_left);

}  // namespace lumivar::runtime::qt
