#pragma once
// How a long action shows its progress and hears a cancel: the action asks
// the window runtime for a monitor (WindowRuntime::begin_progress), reports
// to it now and then, and stops when it answers false. The realisation
// decides what the user sees (the Qt one a modal dialog with a Cancel
// button, the headless one nothing).
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace lumivar::runtime {

class ProgressMonitor {
 public:
  // The run has ended, finished, cancelled or failed: close whatever shows it.
  virtual ~ProgressMonitor() = default;
  // `done` of `total` units of work are finished (done == total once at the
  // end). A monitor of the window runtime is called on the window's thread,
  // so a realisation may process its events here; a step on a helper thread
  // reports to the stand-ins of a ProgressRelay instead. Returns false once
  // the user asked to cancel; the action then stops within a fraction of a
  // second and raises an Error.
  virtual bool update(std::size_t done, std::size_t total) = 0;
  // Nothing new, but the run goes on: called on the window's thread now and
  // then while a step beside it is busy between reports, so a realisation
  // may show itself once due and hear a cancel. Returns false once the user
  // asked to cancel.
  virtual bool still_running() { return true; }
};

// Opens a monitor for a long step titled `title` (nullptr: nothing shows).
using ProgressOpener = std::function<std::unique_ptr<ProgressMonitor>(const std::string& title)>;

// Runs a long step to its end, raising what it raised: in the caller's own
// thread, or beside it (ProgressRelay::run).
using StepRunner = std::function<void(const std::function<void()>& step)>;

// Seconds still to go at the pace so far: elapsed * (total - done) / done.
// Negative (unknown) while nothing is done; 0 once all is done.
inline double seconds_left(double elapsed_seconds, std::size_t done, std::size_t total) {
  if (done >= total) return 0;
  if (done == 0) return -1;
  return elapsed_seconds * static_cast<double>(total - done) / static_cast<double>(done);
}

}  // namespace lumivar::runtime
