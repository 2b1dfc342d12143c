#include "input/load_actions.h"

#include <vector>

#include "geometry/collinear_rows.h"
#include "input/dimension_note.h"
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

namespace {

void check_columns(std::size_t cols, const std::string& fn, int dimensions) {
  if (dimensions == 3) {
    if (cols < 7 || cols % 3 != 1)
      runtime::raise("The file " + fn + " has " + std::to_string(cols) + " column" +
                     (cols == 1 ? "" : "s") +
                     ", so it cannot be three-dimensional landmark data: each row should hold the "
                     "x, y and z of every landmark (at least two) followed by one trailing value, "
                     "3k + 1 columns (7, 10, 13, ...). Nothing was loaded.");
    return;
  }
  if (dimensions != 2)
    runtime::raise("Landmarks have two or three coordinates, not " + std::to_string(dimensions) +
                   ". Nothing was loaded.");
  if (cols < 5 || cols % 2 == 0) {
    runtime::raise("The file " + fn + " has " + std::to_string(cols) + " column" +
                   (cols == 1 ? "" : "s") +
                   ", so it cannot be landmark data: each row should hold the x and y of every "
                   "landmark (at least two) followed by one trailing value, an odd number of at "
                   "least 5 columns. Nothing was loaded.");
  }
}

std::string row_list(const std::vector<std::size_t>& rows) {
  constexpr std::size_t kShown = 10;
  std::string out;
  for (std::size_t i = 0; i < rows.size() && i < kShown; ++i) out += (i ? ", " : "") + std::to_string(rows[i]);
  if (rows.size() > kShown) out += " and " + std::to_string(rows.size() - kShown) + " more";
  return out;
}

}  // namespace

void store_landmarks(runtime::WindowRuntime& ui, runtime::Session& s, runtime::Matrix y,
                     const std::string& fn, runtime::InputSource source, int dimensions) {
  // Refused before anything is stored: the analyses need every coordinate of
  // at least two landmarks and one trailing value per row.
  check_columns(y.cols(), fn, dimensions);
  s.data = std::move(y);
  s.sources.data = std::move(source);
  s.dimensions = dimensions;
  const double m = static_cast<double>(s.data.rows());
  const double n = static_cast<double>(s.data.cols());
  const double d = static_cast<double>(dimensions);
  ui.set_string_by_tag("FileBox",
                       runtime::format(dimensions == 2
                                           ? "File: %s \\n %3.0f Specimens \\n %3.0f Landmarks"
                                           : "File: %s \\n %3.0f Specimens \\n %3.0f Landmarks (3-D)",
                                       {fn, m, (n - 1) / d}));
  if (dimensions == 3) {
    const std::vector<std::size_t> rows = geometry::collinear_rows(s.data, 3);
    if (!rows.empty())
      ui.message_box("The landmarks of row" + std::string(rows.size() > 1 ? "s " : " ") + row_list(rows) +
                         " of " + fn + " lie on one line, so the turn of " +
                         (rows.size() > 1 ? "these specimens" : "this specimen") +
                         " about that line is undetermined. The superimposition takes the smallest "
                         "rotation onto the mean shape for them.",
                     kCollinearTitle);
  }
}

LoadOutcome load(runtime::WindowRuntime& ui, runtime::Session& s, std::uint64_t progress_bytes,
                 int dimensions) {
  return detail::with_chosen_file(ui, progress_bytes, [&](ChosenFile& f) {
    const int d = landmark_dimensions(dimensions, f.after_data, f.fn);
    store_landmarks(ui, s, std::move(f.y), f.fn, {f.path, f.sha256}, d);
  });
}

}  // namespace lumivar::input
