#pragma once
// The in-memory window runtime: windows exist only as objects, the open-file
// dialog answers from a queue the caller fills, and message boxes are
// recorded (and handed to an optional sink, which the batch tool prints).
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "runtime/window_runtime.h"

namespace lumivar::runtime::headless {

struct MessageBox {
  std::string text;
  std::string title;
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

  void set_frame_insets(FrameInsets f) { insets_ = f; }

 protected:
  FrameInsets frame_insets(Handle) const override { return insets_; }

 private:
  std::deque<FileChoice> choices_;
  FrameInsets insets_;
};

}  // namespace lumivar::runtime::headless
