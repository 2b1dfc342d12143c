#include <algorithm>
#include <cmath>

#include "input/getcodecount.h"
#include "input/group_rows.h"
#include "input/load_actions.h"
#include "input/mfload.h"
#include "runtime/error.h"
#include "runtime/format.h"

namespace lumivar::input {

void store_group(runtime::WindowRuntime& ui, runtime::Session& s, runtime::Matrix y,
                 const std::string& fn, runtime::InputSource source) {
  // Refused before anything is stored, so the group codes loaded before,
  // their counts and the status box that names their file stay together.
  if (y.cols() < 2) {
    runtime::raise("The group code file " + fn +
                   " has one column; each line should hold two codes: the G1 code and the G2 "
                   "code of the specimen.");
  }
  const double m = static_cast<double>(s.data.rows());
  const double mg = static_cast<double>(y.rows());
  const double n1g = getcodecount(ui, y.column_of(1));
  const double n2g = getcodecount(ui, y.column_of(2));
  // Once the landmarks and measurement codes that fit them are loaded, the
  // number of specimens is known. A file with another number of lines
  // belongs to another study (or lost lines): its count boxes alone would
  // blame the codes, so the real cause is said, and the codes held stay.
  // Measurement codes that do not fit the landmarks (too many, or not
  // finite) are the analyses' to name.
  if (m > 0 && !s.nfound.empty() && s.repgroup.rows() == s.data.rows() &&
      std::all_of(s.repgroup.data(), s.repgroup.data() + s.repgroup.numel(),
                  [](double c) { return std::isfinite(c); }) &&
      std::floor(m / s.nfound(1)) == m / s.nfound(1)) {
    const std::string problem =
        group_rows_problem(fn, y.rows(), s.data.rows(), s.nfound(1));
    if (!problem.empty())
      runtime::raise(problem + (s.group.empty() ? "" : " The group codes loaded before are kept."));
  }
  s.group = std::move(y);
  s.sources.groups = std::move(source);
  s.n1g = runtime::Matrix::scalar(n1g);
  s.n2g = runtime::Matrix::scalar(n2g);

  // Before any repeated-measures codes there is no number of specimens per
  // time: the piece's values run out and its text stops before the %f.
  std::vector<runtime::Value> second = {mg};
  if (!s.nfound.empty()) second.emplace_back(m / s.nfound(1));
  ui.set_string_by_tag(
      "GroupBox",
      runtime::join(
          {runtime::format("File: %s \\n of the group codes loaded", {fn}),
           runtime::format("\\nThere are %i group codes \\n which should match the "
                           "specimens per time %f",
                           second),
           runtime::format("\\nColumn 1 had %i distinct codes, column 2 had %i distinct codes",
                           {s.n1g, s.n2g})}));
  s.dmatrix = runtime::Matrix::scalar(0);
}

LoadOutcome loadgroup(runtime::WindowRuntime& ui, runtime::Session& s, std::uint64_t progress_bytes) {
  return detail::with_chosen_file(ui, progress_bytes, [&](ChosenFile& f) {
    store_group(ui, s, std::move(f.y), f.fn, {f.path, f.sha256});
  });
}

}  // namespace lumivar::input
