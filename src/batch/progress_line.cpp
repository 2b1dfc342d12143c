#include "batch/progress_line.h"

#include <chrono>
#include <iostream>

#include "batch/run_progress.h"
#include "runtime/terminal.h"

namespace lumivar::batch {

namespace {

// A terminal shows what lasts longer than a second; a log, what lasts longer
// than its interval between lines.
constexpr double kTerminalAfter = 1.0;

}  // namespace

double steady_seconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string progress_text(const std::string& title, std::size_t done, std::size_t total,
                          double elapsed, std::size_t done_at_start) {
  std::string line = title + ": " + std::to_string(done) + " of " + std::to_string(total);
  const double left = runtime::seconds_left(elapsed, done - done_at_start, total - done_at_start);
  if (left > 0) line += ", about " + duration_text(left) + " left";
  return line;
}

void draw_progress_line(std::ostream& err, bool terminal, const std::string& text, bool finished) {
  // Trailing blanks wipe what a longer line before left behind.
  if (terminal)
    err << '\r' << text << "    " << (finished ? "\n" : "");
  else
    err << text << '\n';
  err << std::flush;
}

ProgressLine::ProgressLine(std::ostream& err, std::string title, bool terminal,
                           const std::atomic<bool>* cancel, std::function<double()> now)
    : err_(err),
      title_(std::move(title)),
      terminal_(terminal),
      cancel_(cancel),
      now_(now ? std::move(now) : steady_seconds) {
  start_ = now_();
  last_line_ = start_;
}

ProgressLine::~ProgressLine() {
  if (line_open_) err_ << '\n' << std::flush;
}

bool ProgressLine::update(std::size_t done, std::size_t total) {
  const double t = now_();
  const double elapsed = t - start_;
  const bool finished = done >= total;
  const bool due = terminal_ ? elapsed >= kTerminalAfter && (finished || t - last_line_ >= kTerminalEvery)
                             : !finished && t - last_line_ >= kLogEvery;
  // A terminal line once begun is finished too, so it ends at the total.
  if (due && (!terminal_ || line_open_ || !finished)) {
    last_line_ = t;
    draw_progress_line(err_, terminal_, progress_text(title_, done, total, elapsed), finished);
    line_open_ = terminal_ && !finished;
  }
  return cancel_ == nullptr || !cancel_->load();
}

std::function<std::unique_ptr<runtime::ProgressMonitor>(const std::string&)> progress_lines(
    std::ostream& err, bool terminal, const std::atomic<bool>* cancel) {
  return [&err, terminal, cancel](const std::string& title) {
    return std::make_unique<ProgressLine>(err, title, terminal, cancel);
  };
}

bool is_terminal_stderr(const std::ostream& err) { return &err == &std::cerr && runtime::is_terminal(stderr); }

}  // namespace lumivar::batch
