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
#include <cstddef>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

#include "runtime/progress_monitor.h"

namespace lumivar::batch {

// The pieces every progress line of the batch tool is made of (the loads'
// here, the permutation run's in run_progress.h), so that they read and
// redraw alike.
// At most this often a terminal line is redrawn, and a log gets a line.
inline constexpr double kTerminalEvery = 0.2;
inline constexpr double kLogEvery = 10.0;
// Seconds on a steady clock: the displays' clock unless a test gives its own.
double steady_seconds();
// "TITLE: 12 of 70, about 3 s left", the pace taken from the `elapsed`
// seconds in which done - done_at_start units were done.
std::string progress_text(const std::string& title, std::size_t done, std::size_t total,
                          double elapsed, std::size_t done_at_start = 0);
// Writes `text` on a terminal redrawn in place (ended with a line break when
// `finished`), otherwise as a line of its own.
void draw_progress_line(std::ostream& err, bool terminal, const std::string& text, bool finished);

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
