#pragma once
// Shows a long superimposition in the window: the passes of the consensus
// reported to a progress monitor (in the window, a stand-in of the
// ProgressRelay the superimposition runs beside), so that a large
// study shows a dialog (with Cancel) rather than a window that does not
// answer. The passes have no known count; the share done is how far the
// consensus's change has fallen, on a log scale, from the first pass to the
// tolerance that ends the loop.
#include <cstddef>
#include <functional>
#include <memory>

#include "runtime/progress_monitor.h"

namespace lumivar::shell {

// Studies from this many rows on show the superimposition's progress.
inline constexpr std::size_t kSuperimpositionProgressRows = 5000;

class SuperimpositionMonitor {
 public:
  // Watches the superimposition of a study of `rows` rows; smaller studies
  // than `min_rows` show nothing.
  SuperimpositionMonitor(runtime::ProgressOpener open, std::size_t rows,
                         std::size_t min_rows = kSuperimpositionProgressRows);
  // The hook to put in the settings of the analysis; empty for a small
  // study. Valid while this object lives. A cancel raises an Error from
  // within the superimposition, before anything is stored.
  std::function<void(int iteration, double change)> hook();

 private:
  void pass(int iteration, double change);

  runtime::ProgressOpener open_;
  bool shown_;
  std::unique_ptr<runtime::ProgressMonitor> monitor_;
  double first_change_ = 0;
  std::size_t done_ = 0;
};

}  // namespace lumivar::shell
