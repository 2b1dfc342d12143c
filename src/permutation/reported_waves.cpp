#include "permutation/reported_waves.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

namespace lumivar::permutation {

namespace {

// How often the calling thread reports while a wave runs.
constexpr std::chrono::milliseconds kPollInterval{100};

class WaveHandshake {
 public:
  // Helper thread: the wave ending at `next` is done; returns once the
  // caller has reported it.
  void wave_done(std::uint64_t next) {
    std::unique_lock lock(mutex_);
    pending_ = next;
    changed_.notify_all();
    changed_.wait(lock, [&] { return !pending_ || abandoned_; });
  }
  // Helper thread: no more waves (finished, stopped or failed).
  void finish() {
    const std::lock_guard lock(mutex_);
    finished_ = true;
    changed_.notify_all();
  }
  // Caller: waits up to one poll interval. Returns the end of a finished
  // wave to report, 0 after a plain timeout, or nullopt once the helper ended.
  std::optional<std::uint64_t> wait() {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, kPollInterval, [&] { return pending_.has_value() || finished_; });
    if (pending_) return pending_;
    if (finished_) return std::nullopt;
    return 0;
  }
  // Caller: the wave is reported; the helper may go on.
  void reported() {
    const std::lock_guard lock(mutex_);
    pending_.reset();
    changed_.notify_all();
  }
  // Caller: it leaves (its hook raised); the helper must not wait for it.
  void abandon() {
    const std::lock_guard lock(mutex_);
    abandoned_ = true;
    changed_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::optional<std::uint64_t> pending_;
  bool finished_ = false;
  bool abandoned_ = false;
};

}  // namespace

ReportedWaves::ReportedWaves(const RunPlan& plan)
    : plan_(plan),
      helper_(static_cast<bool>(plan.progress) && plan.nperm > 0),
      heard_(helper_ ? &halt_ : plan.cancel) {}

void ReportedWaves::run(const std::atomic<std::uint64_t>& done,
                        const std::function<void(const WaveDone&)>& waves) {
  if (!helper_) {
    waves({});
    return;
  }
  const ProgressHook& progress = plan_.progress;
  const std::atomic<bool>* cancel = plan_.cancel;
  const std::uint64_t total = plan_.nperm;
  std::atomic<bool>& halt = halt_;
  WaveHandshake handshake;
  std::exception_ptr failure;
  std::thread runner([&] {
    try {
      waves([&](std::uint64_t next) { handshake.wave_done(next); });
    } catch (...) {
      failure = std::current_exception();
    }
    handshake.finish();
  });
  const auto relay_cancel = [&] {
    if (cancel != nullptr && cancel->load()) halt = true;
  };
  try {
    relay_cancel();
    std::uint64_t reported = 0;
    while (const std::optional<std::uint64_t> wave_end = handshake.wait()) {
      relay_cancel();
      // Once halted the run is ending: nothing more to report.
      if (*wave_end != 0) {
        reported = *wave_end;
        if (!halt) progress(static_cast<std::size_t>(reported), static_cast<std::size_t>(total));
        relay_cancel();  // before the helper looks at it for the next wave
        handshake.reported();
      } else if (const std::uint64_t d = std::max(reported, done.load()); d < total && !halt) {
        // Also when nothing more is done: the hook is how a window stays
        // responsive and hears Cancel while one relabelling takes seconds.
        reported = d;
        progress(static_cast<std::size_t>(d), static_cast<std::size_t>(total));
        relay_cancel();
      }
    }
  } catch (...) {
    halt = true;
    handshake.abandon();
    runner.join();
    throw;
  }
  runner.join();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace lumivar::permutation
