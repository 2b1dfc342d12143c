#include "batch/batch_session.h"

#include <filesystem>
#include <ostream>

#include "batch/error_output.h"
#include "input/load_actions.h"
#include "runtime/error.h"

namespace lumivar::batch {

BatchSession::BatchSession(std::ostream& diagnostics)
    : diagnostics_(diagnostics), console_(diagnostics), app(ui) {
  ui.set_console(&console_);
  app.table.call("Lumivar", {}, 0);
  if (ui.find_by_tag("ResBox").empty()) runtime::raise("The main window's layout has no results box.");
}

namespace {

// Runs the load action `action` (outcome of (ui, session, progress bytes))
// on `path`; raises when nothing was loaded.
template <class Action>
void load_one(BatchSession& b, const std::string& path, Action action) {
  b.ui.queue_file(path);
  if (action(b.ui, b.app.session, b.app.load_progress_bytes) != input::LoadOutcome::kLoaded) {
    // The load's box says why (and that nothing was loaded): it is the error.
    const std::string why = b.take_last_box();
    runtime::raise(why.empty() ? "Nothing was loaded from " + path + "." : why);
  }
}

}  // namespace

void BatchSession::load(const Inputs& inputs) {
  // Every load makes its file's folder the working folder, so relative
  // names are resolved against the folder the tool was started in first.
  namespace fs = std::filesystem;
  const std::string data = fs::absolute(inputs.data).string();
  const std::optional<std::string> reps =
      inputs.reps ? std::optional(fs::absolute(*inputs.reps).string()) : std::nullopt;
  const std::optional<std::string> groups =
      inputs.groups ? std::optional(fs::absolute(*inputs.groups).string()) : std::nullopt;
  load_one(*this, data, [&inputs](runtime::WindowRuntime& window, runtime::Session& s, std::uint64_t bytes) {
    return input::load(window, s, bytes, inputs.dimensions);
  });
  if (reps) load_one(*this, *reps, &input::loadrepgroup);
  if (groups) load_one(*this, *groups, &input::loadgroup);
}

void BatchSession::tell_boxes() {
  for (; boxes_told_ < ui.message_boxes.size(); ++boxes_told_)
    tell_warning(diagnostics_, ui.message_boxes[boxes_told_].text);
}

std::string BatchSession::take_last_box() {
  const std::size_t shown = ui.message_boxes.size();
  if (boxes_told_ >= shown) return "";
  for (; boxes_told_ + 1 < shown; ++boxes_told_)
    tell_warning(diagnostics_, ui.message_boxes[boxes_told_].text);
  boxes_told_ = shown;
  return ui.message_boxes.back().text;
}

std::string BatchSession::box_text(const std::string& tag) const {
  const auto found = ui.find_by_tag(tag);
  if (found.empty()) runtime::raise("The main window has no control tagged " + tag + ".");
  const runtime::Value v = ui.get(found.front(), "String");
  return v.is_text() ? v.text() : std::string();
}

void BatchSession::set_box_text(const std::string& tag, const std::string& text) {
  if (ui.set_string_by_tag(tag, text) == 0)
    runtime::raise("The main window has no control tagged " + tag + ".");
}

}  // namespace lumivar::batch
