#pragma once
// The in-memory window runtime: windows exist only as objects, the open-file
// dialog answers from a queue the caller fills, and message boxes are
// recorded (and handed to an optional sink, which the batch tool prints).
// Progress displays are recorded too, and can be told to answer with a
// cancel, so that tests play the user who presses Cancel.
#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "runtime/window_runtime.h"

namespace lumivar::runtime::headless {

struct MessageBox {
  std::string text;
  std::string title;
};

// One progress display: what it was told, in order.
struct ProgressRecord {
  std::string title;
  std::vector<std::pair<std::size_t, std::size_t>> updates;  // (done, total)
  bool ended = false;  // the monitor was destroyed
};

class HeadlessRuntime : public WindowRuntime {
 public:
  void message_box(const std::string& text, const std::string& title) override;
  // Answers with the next queued choice; an empty queue answers with a cancel.
  FileChoice open_file_dialog(const std::string& filter, const std::string& title) override;
  // Runs `start`; there are no events to wait for, so it returns 0 at once.
  int main_loop(const std::function<void()>& start) override;

  // Queues a file for the next dialog; `path` is split into name and folder.
  void queue_file(const std::string& path);
  void queue_cancel();

  std::vector<MessageBox> message_boxes;
  // Titles and filters the dialogs were opened with, oldest first.
  std::vector<std::string> dialog_titles;
  std::function<void(const MessageBox&)> on_message_box;

  // A recording monitor; it answers every update with true unless
  // cancel_progress_after is set. When on_progress is set, what it makes
  // instead (the batch tool's line on standard error), unrecorded.
  std::unique_ptr<ProgressMonitor> begin_progress(const std::string& title) override;
  std::function<std::unique_ptr<ProgressMonitor>(const std::string& title)> on_progress;
  std::vector<ProgressRecord> progress_runs;
  // When set to n, a monitor answers false (cancel) from its n-th update on
  // (n = 1: the first update).
  std::optional<std::size_t> cancel_progress_after;

  void set_frame_insets(FrameInsets f) { insets_ = f; }

 protected:
  FrameInsets frame_insets(Handle) const override { return insets_; }

 private:
  std::deque<FileChoice> choices_;
  FrameInsets insets_;
};

}  // namespace lumivar::runtime::headless
