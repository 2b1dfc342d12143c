#pragma once
// How a long action shows its progress and hears a cancel: the action asks
// the window runtime for a monitor (WindowRuntime::begin_progress), reports
// to it now and then, and stops when it answers false. The realisation
// decides what the user sees (the Qt one a modal dialog with a Cancel
// button, the headless one nothing).
#include <cstddef>

namespace lumivar::runtime {

class ProgressMonitor {
 public:
  // The run has ended, finished, cancelled or failed: close whatever shows it.
  virtual ~ProgressMonitor() = default;
  // `done` of `total` units of work are finished (done == total once at the
  // end). Called on the thread that started the action, so a realisation may
  // process its events here. Returns false once the user asked to cancel;
  // the action then stops within a fraction of a second and raises an Error.
  virtual bool update(std::size_t done, std::size_t total) = 0;
};

// Seconds still to go at the pace so far: elapsed * (total - done) / done.
// Negative (unknown) while nothing is done; 0 once all is done.
inline double seconds_left(double elapsed_seconds, std::size_t done, std::size_t total) {
  if (done >= total) return 0;
  if (done == 0) return -1;
  return elapsed_seconds * static_cast<double>(total - done) / static_cast<double>(done);
}

}  // namespace lumivar::runtime
