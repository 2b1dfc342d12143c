#include "shell/superimposition_monitor.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "geometry/getconsensus.h"
#include "runtime/error.h"

namespace lumivar::shell {

namespace {
constexpr std::size_t kSteps = 1000;  // the monitor's units for the whole superimposition
}

SuperimpositionMonitor::SuperimpositionMonitor(runtime::ProgressOpener open, std::size_t rows,
                                               std::size_t min_rows)
    : open_(std::move(open)), shown_(rows >= min_rows && open_) {}

std::function<void(int, double)> SuperimpositionMonitor::hook() {
  if (!shown_) return {};
  return [this](int iteration, double change) { pass(iteration, change); };
}

void SuperimpositionMonitor::pass(int iteration, double change) {
  const double tolerance = geometry::kConsensusTolerance;
  if (!monitor_) {
    if (done_ == kSteps) return;  // a second superimposition of the same run is not shown again
    monitor_ = open_("Superimposition");
    if (!monitor_) return;
    first_change_ = change;
  }
  // NaN ends the loop as convergence does.
  const bool last = !(change > tolerance);
  if (last) {
    done_ = kSteps;
  } else if (first_change_ > tolerance && change < first_change_) {
    const double share = std::log(first_change_ / change) / std::log(first_change_ / tolerance);
    done_ = std::max(done_, std::min(kSteps - 1, static_cast<std::size_t>(share * kSteps)));
  }
  const bool go_on = monitor_->update(done_, kSteps);
  // The last pass closes the display before what follows shows its own.
  if (last) monitor_.reset();
  if (!go_on && !last) {
    monitor_.reset();
    runtime::raise_cancelled("The superimposition was cancelled after " + std::to_string(iteration) +
                             (iteration == 1 ? " pass." : " passes."));
  }
}

}  // namespace lumivar::shell
