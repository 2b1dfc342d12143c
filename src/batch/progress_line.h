#pragma once
// The batch tool's display of a long action that asks the window runtime for
// a progress monitor (loading a large file), on standard error:
// - on a terminal, once the action has lasted a second, "TITLE: 12 of 70,
//   about 3 s left" redrawn in place a few times a second and ended with a
//   line break;
// - otherwise (a log file, a pipe), nothing for an action shorter than ten
//   seconds, so that short runs print exactly what they always did, and a
//   line every ten seconds for a longer one.
// A raised cancel flag (Ctrl-C) answers the next update with a cancel.
#include <atomic>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

#include "runtime/progress_monitor.h"

namespace lumivar::batch {

class ProgressLine : public runtime::ProgressMonitor {
 public:
  // `now` gives seconds on a steady clock (tests pass their own).
  ProgressLine(std::ostream& err, std::string title, bool terminal, const std::atomic<bool>* cancel,
               std::function<double()> now = {});
  // A terminal line left open by an action that did not finish is ended, so
  // that what follows (a cancel, an error) starts a line of its own.
  ~ProgressLine() override;
  bool update(std::size_t done, std::size_t total) override;

 private:
  std::ostream& err_;
  std::string title_;
  bool terminal_;
  const std::atomic<bool>* cancel_;
  std::function<double()> now_;
  double start_ = 0;
  double last_line_ = 0;
  bool line_open_ = false;
};

// What HeadlessRuntime::on_progress takes: a ProgressLine per action.
std::function<std::unique_ptr<runtime::ProgressMonitor>(const std::string&)> progress_lines(
    std::ostream& err, bool terminal, const std::atomic<bool>* cancel);

// Whether `err` is the process's own standard error and that is a terminal.
bool is_terminal_stderr(const std::ostream& err);

}  // namespace lumivar::batch
