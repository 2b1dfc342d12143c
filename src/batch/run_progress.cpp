#include "batch/run_progress.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <memory>
#include <ostream>

#include "batch/progress_line.h"
#include "runtime/progress_monitor.h"

namespace lumivar::batch {

namespace {

// The pace of the first second is a fair guide; a shorter run needs no estimate.
constexpr double kEstimateAfter = 1.0;
constexpr double kWorthSaying = 60.0;

struct ProgressState {
  std::ostream& err;
  bool terminal;
  std::function<double()> now;
  // The clock starts at the first report, not when the hook is made: the
  // hook is made before the files are read and superimposed, and that time
  // says nothing about the pace of the relabellings. The first report comes
  // after a few relabellings (the first, smallest wave), which are counted
  // from there on.
  bool started = false;
  double start = 0;
  std::size_t done_at_start = 0;
  double last_line = 0;
  bool estimated = false;
  bool long_run = false;  // estimated at more than a minute
  bool line_open = false;  // a terminal line waits to be redrawn
};

}  // namespace

std::string duration_text(double seconds) {
  const auto whole = [](double v) { return std::to_string(static_cast<long long>(std::llround(v))); };
  if (!(seconds < 1e15)) return "far longer than a lifetime";
  if (seconds < 90) return whole(std::max(seconds, 1.0)) + " s";
  const double minutes = seconds / 60;
  if (minutes < 90) return whole(minutes) + " min";
  const double hours = minutes / 60;
  if (hours < 48) {
    const long long h = static_cast<long long>(hours);
    const long long m = std::llround((hours - static_cast<double>(h)) * 60);
    return m == 60 ? std::to_string(h + 1) + " h" : std::to_string(h) + " h " + std::to_string(m) + " min";
  }
  const double days = hours / 24;
  if (days < 730) return whole(days) + " days";
  return whole(days / 365.25) + " years";
}

std::function<void(std::size_t, std::size_t)> run_progress(std::ostream& err, bool terminal,
                                                           std::function<double()> now) {
  if (!now) now = steady_seconds;
  auto state = std::make_shared<ProgressState>(ProgressState{err, terminal, std::move(now)});
  return [state](std::size_t done, std::size_t total) {
    ProgressState& s = *state;
    const double t = s.now();
    if (!s.started) {
      s.started = true;
      s.start = t;
      s.done_at_start = std::min(done, total);
      // A terminal shows the first report at once; a log waits its ten seconds.
      s.last_line = s.terminal ? -std::numeric_limits<double>::infinity() : t;
    }
    const double elapsed = t - s.start;
    const std::size_t counted = done - s.done_at_start;
    if (!s.estimated && counted > 0 && done < total && elapsed >= kEstimateAfter) {
      s.estimated = true;
      const double whole_run = elapsed * static_cast<double>(total - s.done_at_start) /
                               static_cast<double>(counted);
      s.long_run = whole_run > kWorthSaying;
      if (s.long_run)
        s.err << (s.line_open ? "\n" : "") << "This run of " << total
              << " relabellings will take about " << duration_text(whole_run)
              << " at the pace of its first " << duration_text(elapsed)
              << " (Ctrl-C stops it).\n";
    }
    const bool finished = done >= total;
    const double every = s.terminal ? kTerminalEvery : kLogEvery;
    const auto line = [&] {
      return progress_text("Permutations", done, total, elapsed, s.done_at_start);
    };
    if (s.terminal) {
      if (!finished && t - s.last_line < every) return;
      s.last_line = t;
      s.line_open = !finished;
      draw_progress_line(s.err, true, line(), finished);
      return;
    }
    // A log gets lines only from a run long enough to be worth watching.
    if (!s.long_run || finished || t - s.last_line < every) return;
    s.last_line = t;
    draw_progress_line(s.err, false, line(), finished);
  };
}

}  // namespace lumivar::batch
