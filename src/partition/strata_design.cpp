#include "partition/strata_design.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "partition/analysis_inputs.h"
#include "runtime/error.h"

namespace lumivar::partition {

namespace {

const char* const kRefusal = "Tests by strata need ";

std::string n(std::size_t v) { return std::to_string(v); }

// The distinct values in increasing order (0 and -0 are one value).
std::vector<double> distinct(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  values.erase(std::unique(values.begin(), values.end()), values.end());
  return values;
}

std::uint32_t level_of(const std::vector<double>& levels, double code) {
  return static_cast<std::uint32_t>(std::lower_bound(levels.begin(), levels.end(), code) -
                                    levels.begin());
}

}  // namespace

StrataDesign strata_design(const runtime::Matrix& group, const runtime::Matrix& repgroup,
                           std::size_t m) {
  using runtime::raise;
  StrataDesign d;
  d.mg = group.rows();
  if (group.cols() < 2 || d.mg == 0)
    raise(std::string(kRefusal) + "group codes with two columns (G1 and G2), one row per specimen.");
  if (m != 2 * d.mg)
    raise(std::string(kRefusal) + "two measurements of every specimen: twice as many rows of "
          "landmark data as rows of group codes. Loaded: " + n(m) + " rows of landmark data and " +
          n(d.mg) + " rows of group codes.");
  if (repgroup.numel() < m)
    raise(std::string(kRefusal) + "one repeated-measures code per row of landmark data: " +
          n(repgroup.numel()) + " codes for " + n(m) + " rows.");

  std::vector<double> g1(d.mg), g2(d.mg), t(m);
  for (std::size_t j = 0; j < d.mg; ++j) {
    g1[j] = group(j + 1, 1);
    g2[j] = group(j + 1, 2);
    if (std::isnan(g1[j]) || std::isnan(g2[j]))
      raise(std::string(kRefusal) + "a number for every group code; specimen " + n(j + 1) +
            " has " + (std::isnan(g1[j]) ? "a G1" : "a G2") + " code that is not a number.");
  }
  for (std::size_t r = 0; r < m; ++r) {
    t[r] = repgroup(r + 1);
    if (std::isnan(t[r]))
      raise(std::string(kRefusal) + "a number for every repeated-measures code; row " + n(r + 1) +
            " has none.");
  }
  const std::vector<double> codes = distinct(t);
  if (codes.size() != 2)
    raise(std::string(kRefusal) + "exactly two repeated-measures codes (one per measurement); "
          "the codes loaded hold " + n(codes.size()) + " distinct values.");

  d.lower_row.resize(d.mg);
  d.upper_row.resize(d.mg);
  for (std::size_t j = 0; j < d.mg; ++j) {
    const std::size_t a = j, b = j + d.mg;
    if (t[a] == t[b])
      raise(std::string(kRefusal) + "one row under each repeated-measures code for every "
            "specimen; specimen " + n(j + 1) + " (rows " + n(a + 1) + " and " + n(b + 1) +
            ") has code " + detail::code_text(t[a]) + " twice.");
    d.lower_row[j] = t[a] < t[b] ? a : b;
    d.upper_row[j] = t[a] < t[b] ? b : a;
  }

  const std::vector<double> levels1 = distinct(g1), levels2 = distinct(g2);
  d.n1 = levels1.size();
  d.n2 = levels2.size();
  d.level1.resize(d.mg);
  d.level2.resize(d.mg);
  d.cell.resize(d.mg);
  std::vector<std::size_t> count(d.cells(), 0);
  for (std::size_t j = 0; j < d.mg; ++j) {
    d.level1[j] = level_of(levels1, g1[j]);
    d.level2[j] = level_of(levels2, g2[j]);
    d.cell[j] = d.level1[j] * static_cast<std::uint32_t>(d.n2) + d.level2[j];
    ++count[d.cell[j]];
  }
  const auto cell_name = [&](std::size_t c) {
    return "G1 = " + detail::code_text(levels1[c / d.n2]) + " with G2 = " +
           detail::code_text(levels2[c % d.n2]);
  };
  for (std::size_t c = 1; c < count.size(); ++c)
    if (count[c] != count[0])
      raise(std::string(kRefusal) + "a balanced design: every combination of a G1 and a G2 code "
            "must hold the same number of specimens, but " + cell_name(0) + " holds " +
            n(count[0]) + " and " + cell_name(c) + " holds " + n(count[c]) + ".");
  d.per_cell = count[0];
  if (d.per_cell < 2)
    raise(std::string(kRefusal) + "at least two specimens in every combination of a G1 and a G2 "
          "code: with one, the specimens-within-cells and residual terms have 0 degrees of "
          "freedom and no F ratio exists.");
  return d;
}

}  // namespace lumivar::partition
