#include <algorithm>
#include <cmath>

#include "input/load_actions.h"
#include "input/mismatch_boxes.h"
#include "input/mfload.h"
#include "runtime/format.h"

namespace lumivar::input {

void store_repgroup(runtime::WindowRuntime& ui, runtime::Session& s, runtime::Matrix y,
                    const std::string& fn, runtime::InputSource source) {
  s.repgroup = std::move(y);
  s.sources.reps = std::move(source);
  const double m = static_cast<double>(s.data.rows());
  const std::size_t mr = s.repgroup.rows();

  // The first mr positions in column order: the first column, sorted
  // ascending with NaN last.
  std::vector<double> sorted(s.repgroup.data(), s.repgroup.data() + mr);
  std::stable_sort(sorted.begin(), sorted.end(), [](double a, double b) {
    if (std::isnan(a)) return false;
    if (std::isnan(b)) return true;
    return a < b;
  });

  // Stored into the existing values position by position: entries beyond
  // nfound keep whatever an earlier load left there.
  std::size_t nfound = 1;
  s.repgroupcode.set_grow(1, sorted[0]);
  s.repgroupcount.set_grow(1, 1);
  for (std::size_t i = 1; i < mr; ++i) {
    if (sorted[i] != sorted[i - 1]) {
      ++nfound;
      s.repgroupcode.set_grow(nfound, sorted[i]);
      s.repgroupcount.set_grow(nfound, 1);
    } else {
      s.repgroupcount.set_grow(nfound, s.repgroupcount(nfound) + 1);
    }
  }
  const double nf = static_cast<double>(nfound);
  s.nfound = runtime::Matrix::scalar(nf);

  ui.set_string_by_tag(
      "RepBox",
      runtime::join(
          {runtime::format("File: %s \\n of the repeated measures group codes loaded", {fn}),
           runtime::format("\\nThere are %i group codes \\n which means %f specimens per group",
                           {nf, m / nf})}));

  std::vector<std::size_t> odd;  // codes whose count is not the balanced one
  for (std::size_t j = 1; j <= nfound; ++j)
    if (s.repgroupcount(j) != m / nf) odd.push_back(j);
  show_mismatch_boxes(
      ui, "Dang:Error", odd.size(),
      [&](std::size_t k) {
        return runtime::format("In your repeated measure group code %f, there are %i "
                               "specimens, there should be %i",
                               {s.repgroupcode(odd[k]), s.repgroupcount(odd[k]), m / nf});
      },
      [&](std::size_t more) {
        return runtime::format("%i more repeated measure group codes have a count other than %i",
                               {static_cast<double>(more), m / nf});
      });
  s.nrep = s.nfound;
}

LoadOutcome loadrepgroup(runtime::WindowRuntime& ui, runtime::Session& s, std::uint64_t progress_bytes) {
  return detail::with_chosen_file(ui, progress_bytes, [&](ChosenFile& f) {
    store_repgroup(ui, s, std::move(f.y), f.fn, {f.path, f.sha256});
  });
}

}  // namespace lumivar::input
