#include "input/load_actions.h"
#include "input/mfload.h"
#include "runtime/format.h"

namespace lumivar::input {

namespace detail {

// Shared by the three actions: the file chosen, or the outcome that ends the action.
bool chosen_or_report(runtime::WindowRuntime& ui, const ChosenFile& f, LoadOutcome& outcome) {
  if (f.status == ChosenFile::Status::kOk) return true;
  if (f.status == ChosenFile::Status::kCancelled) {
    outcome = LoadOutcome::kCancelled;
  } else {
    ui.message_box(nothing_loaded_text(f), kNothingLoadedTitle);
    outcome = LoadOutcome::kNothingLoaded;
  }
  return false;
}

}  // namespace detail

LoadOutcome load(runtime::WindowRuntime& ui, runtime::Session& s) {
  ChosenFile f = mfload(ui);
  LoadOutcome outcome;
  if (!detail::chosen_or_report(ui, f, outcome)) return outcome;
  s.data = std::move(f.y);
  const double m = static_cast<double>(s.data.rows());
  const double n = static_cast<double>(s.data.cols());
  ui.set_string_by_tag("FileBox", runtime::format("File: %s \\n %3.0f Specimens \\n %3.0f Landmarks",
                                                  {f.fn, m, (n - 1) / 2}));
  if (s.data.cols() % 2 == 0) {
    ui.message_box("The file " + f.fn + " has " + std::to_string(s.data.cols()) +
                       " columns. Each row should hold the x and y of every landmark followed by "
                       "one trailing value, so the number of columns should be odd. The analyses "
                       "cannot use this file as it is.",
                   "Check the landmark file");
  }
  return LoadOutcome::kLoaded;
}

}  // namespace lumivar::input
