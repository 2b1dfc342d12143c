#include "runtime/headless/headless_runtime.h"

#include <filesystem>

namespace lumivar::runtime::headless {

namespace {

class RecordingMonitor : public ProgressMonitor {
 public:
  RecordingMonitor(HeadlessRuntime& ui, std::size_t index) : ui_(ui), index_(index) {}
  ~RecordingMonitor() override { ui_.progress_runs[index_].ended = true; }
  bool update(std::size_t done, std::size_t total) override {
    auto& updates = ui_.progress_runs[index_].updates;
    updates.emplace_back(done, total);
    return !ui_.cancel_progress_after || updates.size() < *ui_.cancel_progress_after;
  }

 private:
  HeadlessRuntime& ui_;
  std::size_t index_;  // the record, by position: the vector may grow meanwhile
};

}  // namespace

void HeadlessRuntime::message_box(const std::string& text, const std::string& title) {
  message_boxes.push_back({text, title});
  if (on_message_box) on_message_box(message_boxes.back());
}

FileChoice HeadlessRuntime::open_file_dialog(const std::string& filter, const std::string& title) {
  dialog_titles.push_back(title + " [" + filter + "]");
  if (choices_.empty()) return FileChoice{};
  FileChoice c = choices_.front();
  choices_.pop_front();
  return c;
}

int HeadlessRuntime::main_loop(const std::function<void()>& start) {
  start();
  return 0;
}

void HeadlessRuntime::queue_file(const std::string& path) {
  namespace fs = std::filesystem;
  fs::path p = fs::absolute(fs::path(path));
  FileChoice c;
  c.cancelled = false;
  c.name = p.filename().string();
  std::string folder = p.parent_path().string();
  if (folder.empty() || folder.back() != fs::path::preferred_separator) folder += fs::path::preferred_separator;
  c.folder = folder;
  choices_.push_back(c);
}

std::unique_ptr<ProgressMonitor> HeadlessRuntime::begin_progress(const std::string& title) {
  if (on_progress) return on_progress(title);
  progress_runs.push_back({title, {}, false});
  return std::make_unique<RecordingMonitor>(*this, progress_runs.size() - 1);
}

void HeadlessRuntime::queue_cancel() { choices_.push_back(FileChoice{}); }

}  // namespace lumivar::runtime::headless
