#include "partition/analysis_inputs.h"

#include <cmath>
#include <string>

#include "geometry/centsize.h"
#include "runtime/error.h"

namespace lumivar::partition {

namespace detail {

std::string row_list(const std::vector<std::size_t>& rows) {
  std::string out;
  constexpr std::size_t kShown = 20;
  for (std::size_t i = 0; i < rows.size() && i < kShown; ++i)
    out += (i ? ", " : "") + std::to_string(rows[i]);
  if (rows.size() > kShown) out += " and " + std::to_string(rows.size() - kShown) + " more";
  return out;
}

}  // namespace detail

DesignSizes check_analysis_inputs(const runtime::Session& s) {
  using runtime::raise;
  const std::size_t m = s.data.rows();
  if (s.data.empty()) raise("No landmark data is loaded: load the landmark file first.");
  if (m < 2)
    raise("The landmark data holds " + std::to_string(m) +
          " specimen; the analysis needs at least two.");
  if (s.data.cols() % 2 == 0 || s.data.cols() < 5)
    raise("The landmark data has " + std::to_string(s.data.cols()) +
          " columns; each row should hold the x and y of at least two landmarks followed by one "
          "trailing value (an odd number of columns).");
  if (s.repgroup.empty() || s.nrep.empty())
    raise("No repeated-measures codes are loaded: load the repeated-measures code file first.");
  if (s.group.empty() || s.n1g.empty() || s.n2g.empty())
    raise("No group codes are loaded: load the group code file first.");
  if (s.repgroup.numel() < m)
    raise("The repeated-measures code file is too short: it has " +
          std::to_string(s.repgroup.numel()) + " codes, but the landmark data has " +
          std::to_string(m) + " rows (one code per row is needed).");
  if (s.group.cols() < 2)
    raise("The group code file has one column; it needs two (the G1 and the G2 code of each "
          "specimen).");
  if (2 * s.group.rows() < m)
    raise("The group code file is too short: it has " + std::to_string(s.group.rows()) +
          " rows, which cover " + std::to_string(2 * s.group.rows()) +
          " rows of landmark data (two measurements per specimen), but the landmark data has " +
          std::to_string(m) + " rows.");

  const runtime::Matrix sizes = geometry::centsize(s.data);
  std::vector<std::size_t> degenerate;
  for (std::size_t i = 1; i <= m; ++i)
    if (!(sizes(i) > 0) || !std::isfinite(sizes(i))) degenerate.push_back(i);
  if (!degenerate.empty())
    raise("The landmarks of row" + std::string(degenerate.size() > 1 ? "s " : " ") +
          detail::row_list(degenerate) +
          " of the landmark data all coincide or are not finite numbers (centroid size " +
          "0 or undefined), so " + (degenerate.size() > 1 ? "these specimens have" : "this specimen has") +
          " no shape. Correct the landmark file and load it again.");

  DesignSizes d;
  d.m = static_cast<double>(m);
  d.n1g = s.n1g(1);
  d.n2g = s.n2g(1);
  d.nrep = s.nrep(1);
  return d;
}

}  // namespace lumivar::partition
