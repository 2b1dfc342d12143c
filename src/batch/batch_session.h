#pragma once
// The batch tool's session: the program's own state on the headless window
// runtime, with the main window opened from the same layout as on screen, so
// that the load actions and analyses run exactly as they do in the window.
// Message boxes go to standard error as "TITLE: TEXT" once it is known
// whether the run goes on (tell_boxes).
#include <iosfwd>
#include <optional>
#include <string>

#include "runtime/headless/headless_runtime.h"
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
  // Prints the message boxes shown since the last call. When the run goes on
  // past them they were warnings, and a title that calls them errors ("Dang:Error",
  // "Error in a group code") is printed as "Warning"; a box that ends the run
  // keeps its title.
  void tell_boxes(bool going_on);

  runtime::headless::HeadlessRuntime ui;

 private:
  std::ostream& diagnostics_;
  runtime::StreamConsole console_;
  std::size_t boxes_told_ = 0;

 public:
  shell::Application app;
  // Number of message boxes shown so far (a refusal leaves one behind).
  std::size_t boxes_shown() const { return ui.message_boxes.size(); }
};

}  // namespace lumivar::batch
