#include "input/load_actions.h"
#include "input/mfload.h"
#include "runtime/format.h"

namespace lumivar::input {

namespace detail {

LoadOutcome with_chosen_file(runtime::WindowRuntime& ui,
                             const std::function<void(ChosenFile&)>& use) {
  ChosenFile f = mfload(ui);
  switch (f.status) {
    case ChosenFile::Status::kOk:
      use(f);
      return LoadOutcome::kLoaded;
    case ChosenFile::Status::kCancelled:
      return LoadOutcome::kCancelled;
    default:
      ui.message_box(nothing_loaded_text(f), kNothingLoadedTitle);
      return LoadOutcome::kNothingLoaded;
  }
}

}  // namespace detail

void store_landmarks(runtime::WindowRuntime& ui, runtime::Session& s, runtime::Matrix y,
                     const std::string& fn) {
  s.data = std::move(y);
  const double m = static_cast<double>(s.data.rows());
  const double n = static_cast<double>(s.data.cols());
  ui.set_string_by_tag("FileBox",
                       runtime::format("File: %s \\n %3.0f Specimens \\n %3.0f Landmarks",
                                       {fn, m, (n - 1) / 2}));
  if (s.data.cols() % 2 == 0) {
    ui.message_box("The file " + fn + " has " + std::to_string(s.data.cols()) +
                       " columns. Each row should hold the x and y of every landmark followed by "
                       "one trailing value, so the number of columns should be odd. The analyses "
                       "cannot use this file as it is.",
                   "Check the landmark file");
  }
}

LoadOutcome load(runtime::WindowRuntime& ui, runtime::Session& s) {
  return detail::with_chosen_file(ui, [&](ChosenFile& f) { store_landmarks(ui, s, std::move(f.y), f.fn); });
}

}  // namespace lumivar::input
