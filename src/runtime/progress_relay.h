#pragma once
// Long steps of the window's actions (the superimposition, the distance
// matrix and its sums, the tests by strata) run beside the window's thread:
// the step runs on a helper thread, and the monitors it opens through the
// relay's opener are stand-ins that only note what they hear. The window's
// thread meanwhile opens the real monitors (a dialog with Cancel), reports
// to them at every change and at least every 0.1 s, so the dialog shows
// after a second and a Cancel is heard at once even while the step is deep
// in one pass; the step hears it at its next report (its stand-in answers
// false) and stops.
#include <atomic>
#include <functional>
#include <memory>

#include "runtime/progress_monitor.h"

namespace lumivar::runtime {

class ProgressRelay {
 public:
  // `open_here` opens the real monitors; it is called on the thread that calls run().
  explicit ProgressRelay(ProgressOpener open_here);
  ~ProgressRelay();
  ProgressRelay(const ProgressRelay&) = delete;
  ProgressRelay& operator=(const ProgressRelay&) = delete;

  // Opens a stand-in monitor; may be called from any thread while the relay
  // lives. What it hears shows while run() runs.
  ProgressOpener opener();
  // Runs `step` on a helper thread and relays its monitors until it ends;
  // raises again what the step raised. A failure of a real monitor raises
  // the stand-ins' answer to false, waits for the step to end and is raised
  // in its place.
  void run(const std::function<void()>& step);
  // run() as a StepRunner, valid while the relay lives.
  StepRunner runner();

  struct Shared;  // what the stand-ins and run() share

 private:
  std::shared_ptr<Shared> shared_;
  ProgressOpener open_here_;
};

}  // namespace lumivar::runtime
