#include "input/load_actions.h"
#include "input/mfload.h"
#include "runtime/error.h"
#include "runtime/format.h"

namespace lumivar::input {

namespace detail {

LoadOutcome with_chosen_file(runtime::WindowRuntime& ui, std::uint64_t progress_bytes,
                             const std::function<void(ChosenFile&)>& use) {
  ChosenFile f = mfload(ui, progress_bytes);
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
                     const std::string& fn, runtime::InputSource source) {
  // Refused before anything is stored: the analyses need x and y of at
  // least two landmarks and one trailing value per row.
  const std::size_t cols = y.cols();
  if (cols < 5 || cols % 2 == 0) {
    runtime::raise("The file " + fn + " has " + std::to_string(cols) + " column" +
                   (cols == 1 ? "" : "s") +
                   ", so it cannot be landmark data: each row should hold the x and y of every "
                   "landmark (at least two) followed by one trailing value, an odd number of at "
                   "least 5 columns. Nothing was loaded.");
  }
  s.data = std::move(y);
  s.sources.data = std::move(source);
  const double m = static_cast<double>(s.data.rows());
  const double n = static_cast<double>(s.data.cols());
  ui.set_string_by_tag("FileBox",
                       runtime::format("File: %s \\n %3.0f Specimens \\n %3.0f Landmarks",
                                       {fn, m, (n - 1) / 2}));
}

LoadOutcome load(runtime::WindowRuntime& ui, runtime::Session& s, std::uint64_t progress_bytes) {
  return detail::with_chosen_file(ui, progress_bytes, [&](ChosenFile& f) {
    store_landmarks(ui, s, std::move(f.y), f.fn, {f.path, f.sha256});
  });
}

}  // namespace lumivar::input
