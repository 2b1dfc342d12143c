#pragma once
// Shows a long load in the window: the bytes read of a file reported to a
// progress monitor of the window runtime, so that a large file shows a
// dialog (with Cancel) rather than a window that does not answer. The
// monitor counts megabytes (MiB), whose number fits any display.
#include <cstdint>
#include <memory>
#include <string>

#include "runtime/file_lines.h"
#include "runtime/progress_monitor.h"
#include "runtime/window_runtime.h"

namespace lumivar::input {

// Files from this size on show their progress: about a quarter of a second
// of reading here (docs/performance.md), so that a machine four times slower
// still shows the dialog of a load that lasts more than a second. A smaller
// file never asks the window for a monitor.
inline constexpr std::uint64_t kLoadProgressBytes = std::uint64_t{8} << 20;

class LoadProgress {
 public:
  // Watches the reading of the file named `name` (without its folder);
  // files smaller than `min_bytes` show nothing.
  LoadProgress(runtime::WindowRuntime& ui, std::string name,
               std::uint64_t min_bytes = kLoadProgressBytes);
  // The hook to give the reader; valid while this object lives. A cancel
  // raises runtime::Cancelled from within the read, before anything is
  // stored.
  runtime::ReadProgress hook();

 private:
  void read(std::uint64_t bytes_read, std::uint64_t file_bytes);

  runtime::WindowRuntime& ui_;
  std::string name_;
  std::uint64_t min_bytes_;
  std::unique_ptr<runtime::ProgressMonitor> monitor_;
  bool asked_ = false;          // the first report decided whether to show
  bool told_ = false;           // the monitor has heard a count
  std::uint64_t told_mib_ = 0;  // the count it heard last
};

}  // namespace lumivar::input
