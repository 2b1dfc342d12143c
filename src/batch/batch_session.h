#pragma once
// The batch tool's session: the program's own state on the headless window
// runtime, with the main window opened from the same layout as on screen, so
// that the load actions and analyses run exactly as they do in the window.
// Message boxes go to standard error as warnings, or become the error that
// ends the run (take_last_box).
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "runtime/headless/headless_runtime.h"
#include "shape_space/study_labels.h"
#include "shell/application.h"

namespace lumivar::batch {

struct Inputs {
  std::string data;
  std::optional<std::string> reps;
  std::optional<std::string> groups;
  int dimensions = 0;  // coordinates per landmark of `data` (2 or 3); 0: as its note says, else 2
};

class BatchSession {
 public:
  explicit BatchSession(std::ostream& diagnostics);
  // Loads the landmark file and, when given, the two code files, in the
  // window's order. Raises an Error when a file gives no data.
  void load(const Inputs& inputs);
  // The String of the control tagged `tag`.
  std::string box_text(const std::string& tag) const;
  void set_box_text(const std::string& tag, const std::string& text);
  // Prints the message boxes shown since the last call as warnings: the run
  // went on past them, whatever their titles say ("Dang:Error", "Error in a
  // group code").
  void tell_boxes();
  // The text of the last box shown, which refused what the run asked for and
  // so ends it; the boxes before it are told as warnings. "" when no box is
  // left to tell.
  std::string take_last_box();

  runtime::headless::HeadlessRuntime ui;

 private:
  std::ostream& diagnostics_;
  runtime::StreamConsole console_;
  std::size_t boxes_told_ = 0;

 public:
  shell::Application app;
  // The sheet's names of the rows and levels when the study was given as a
  // landmark file and a sheet (load_study_files); null for plain files.
  std::shared_ptr<const shape_space::StudyLabels> sheet_labels;
  // Number of message boxes shown so far (a refusal leaves one behind).
  std::size_t boxes_shown() const { return ui.message_boxes.size(); }
};

}  // namespace lumivar::batch
