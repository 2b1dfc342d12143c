#include "input/getcodecount.h"

#include "runtime/error.h"
#include "runtime/format.h"

namespace lumivar::input {

CodeCounts count_codes(const runtime::Matrix& grouplist) {
  if (grouplist.empty()) runtime::raise("There are no codes to count.");
  CodeCounts c;
  c.codes.push_back(grouplist(1));
  c.counts.push_back(1);
  for (std::size_t i = 2; i <= grouplist.numel(); ++i) {
    bool found = false;
    const std::size_t known = c.codes.size();
    for (std::size_t j = 0; j < known; ++j) {
      if (c.codes[j] == grouplist(i)) {
        found = true;
        c.counts[j] += 1;
      }
    }
    if (!found) {
      c.codes.push_back(grouplist(i));
      c.counts.push_back(1);
    }
  }
  return c;
}

double getcodecount(runtime::WindowRuntime& ui, const runtime::Matrix& grouplist) {
  const CodeCounts c = count_codes(grouplist);
  for (std::size_t i = 1; i < c.codes.size(); ++i) {
    if (c.counts[0] != c.counts[i]) {
      ui.message_box(runtime::format("Mismatch in counts between groups %i and %i",
                                     {c.codes[0], c.codes[i]}),
                     "Error in a group code");
    }
  }
  return static_cast<double>(c.codes.size());
}

}  // namespace lumivar::input
