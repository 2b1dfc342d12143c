#include "batch/superimposition_progress.h"

#include "geometry/getconsensus.h"
#include "runtime/terminal.h"

namespace lumivar::batch {

SuperimpositionProgress::SuperimpositionProgress(std::FILE* err, std::chrono::milliseconds quiet)
    : err_(err), quiet_(quiet) {}

void SuperimpositionProgress::operator()(int iteration, double change) {
  const auto now = std::chrono::steady_clock::now();
  if (iteration == 1) start_ = now;
  // The loop stops once the change is no longer above the tolerance (NaN
  // stops it too).
  const bool last = !(change > geometry::kConsensusTolerance);
  if (!last && (now - start_ < quiet_ || now - last_ < std::chrono::milliseconds(200))) return;
  if (last && !shown_) return;
  last_ = now;
  shown_ = true;
  std::fprintf(err_, "\rSuperimposition: pass %d, consensus change %.1e (stops at %.1e)", iteration,
               change, geometry::kConsensusTolerance);
  if (last) std::fprintf(err_, "\n");
  std::fflush(err_);
}

std::function<void(int, double)> terminal_superimposition_progress() {
  if (!runtime::is_terminal(stderr)) return {};
  return SuperimpositionProgress(stderr);
}

}  // namespace lumivar::batch
