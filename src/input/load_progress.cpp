#include "input/load_progress.h"

#include "runtime/error.h"

namespace lumivar::input {

namespace {

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;

// Megabytes started: a file of 1 byte counts 1, so the end is never 0 of 0.
std::uint64_t mib_of(std::uint64_t bytes) { return (bytes + kMiB - 1) / kMiB; }

}  // namespace

LoadProgress::LoadProgress(runtime::WindowRuntime& ui, std::string name, std::uint64_t min_bytes)
    : ui_(ui), name_(std::move(name)), min_bytes_(min_bytes) {}

runtime::ReadProgress LoadProgress::hook() {
  return [this](std::uint64_t bytes_read, std::uint64_t file_bytes) { read(bytes_read, file_bytes); };
}

void LoadProgress::read(std::uint64_t bytes_read, std::uint64_t file_bytes) {
  if (!asked_) {
    asked_ = true;
    if (file_bytes >= min_bytes_) monitor_ = ui_.begin_progress("Loading " + name_ + " (MB)");
  }
  if (!monitor_) return;
  // All bytes known are read: the end (or, for a file that grows while it
  // is read, as far as it is known; the display then closes early).
  const bool last = bytes_read == file_bytes;
  const std::uint64_t total = mib_of(file_bytes);
  // Whole megabytes until the end, so that the count reaches the total only
  // once all is read; the monitor hears each new count, not each block.
  const std::uint64_t done = last ? total : bytes_read / kMiB;
  if (told_ && done == told_mib_ && !last) return;
  told_ = true;
  told_mib_ = done;
  const bool go_on = monitor_->update(static_cast<std::size_t>(done), static_cast<std::size_t>(total));
  if (go_on && !last) return;
  monitor_.reset();  // closed before the values are stored, or on a cancel
  if (!go_on)
    runtime::raise_cancelled("Loading " + name_ + " was cancelled after " + std::to_string(done) +
                             " of " + std::to_string(total) + " MB; nothing was loaded.");
}

}  // namespace lumivar::input
