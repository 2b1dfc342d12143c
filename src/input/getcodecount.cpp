#include "input/getcodecount.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "input/mismatch_boxes.h"
#include "runtime/error.h"
#include "runtime/format.h"

namespace lumivar::input {

CodeCounts count_codes(const runtime::Matrix& grouplist) {
  if (grouplist.empty()) runtime::raise("There are no codes to count.");
  const std::size_t n = grouplist.numel();
  const double* v = grouplist.data();

  // Positions sorted by code, equal codes in row order, so that each run of
  // equal codes starts at the code's first appearance. O(n log n). A NaN
  // equals nothing, not even another NaN: each is a code of its own.
  std::vector<std::size_t> order;
  order.reserve(n);
  for (std::size_t i = 0; i < n; ++i)
    if (!std::isnan(v[i])) order.push_back(i);
  std::stable_sort(order.begin(), order.end(), [v](std::size_t a, std::size_t b) { return v[a] < v[b]; });

  struct Code {
    std::size_t first;  // position of the first appearance
    std::size_t count;
  };
  std::vector<Code> found;
  for (std::size_t k = 0; k < order.size();) {
    std::size_t end = k + 1;
    while (end < order.size() && v[order[end]] == v[order[k]]) ++end;
    found.push_back({order[k], end - k});
    k = end;
  }
  for (std::size_t i = 0; i < n; ++i)
    if (std::isnan(v[i])) found.push_back({i, 1});
  std::sort(found.begin(), found.end(), [](const Code& a, const Code& b) { return a.first < b.first; });

  CodeCounts c;
  c.codes.reserve(found.size());
  c.counts.reserve(found.size());
  for (const Code& f : found) {
    c.codes.push_back(v[f.first]);
    c.counts.push_back(static_cast<double>(f.count));
  }
  return c;
}

double getcodecount(runtime::WindowRuntime& ui, const runtime::Matrix& grouplist) {
  const CodeCounts c = count_codes(grouplist);
  std::vector<std::size_t> odd;  // codes whose count differs from the first code's
  for (std::size_t i = 1; i < c.codes.size(); ++i)
    if (c.counts[0] != c.counts[i]) odd.push_back(i);
  show_mismatch_boxes(
      ui, "Error in a group code", odd.size(),
      [&](std::size_t k) {
        return runtime::format("Mismatch in counts between groups %i and %i", {c.codes[0], c.codes[odd[k]]});
      },
      [&](std::size_t more) {
        return runtime::format("%i more codes mismatch the count of group %i",
                               {static_cast<double>(more), c.codes[0]});
      });
  return static_cast<double>(c.codes.size());
}

}  // namespace lumivar::input
