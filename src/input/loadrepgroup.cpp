#include <algorithm>
#include <cmath>

#include "input/load_actions.h"
#include "input/mfload.h"
#include "runtime/format.h"

namespace lumivar::input {

void store_repgroup(runtime::WindowRuntime& ui, runtime::Session& s, runtime::Matrix y,
                    const std::string& fn) {
  s.repgroup = std::move(y);
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

  for (std::size_t j = 1; j <= nfound; ++j) {
    if (s.repgroupcount(j) != m / nf) {
      ui.message_box(runtime::format("In your repeated measure group code %f, there are %i "
                                     "specimens, there should be %i",
                                     {s.repgroupcode(j), s.repgroupcount(j), m / nf}),
                     "Dang:Error");
    }
  }
  s.nrep = s.nfound;
}

LoadOutcome loadrepgroup(runtime::WindowRuntime& ui, runtime::Session& s) {
  return detail::with_chosen_file(ui, [&](ChosenFile& f) { store_repgroup(ui, s, std::move(f.y), f.fn); });
}

}  // namespace lumivar::input
