#include "models/strata_design.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "partition/analysis_inputs.h"
#include "runtime/error.h"

namespace lumivar::models {

namespace {

using partition::detail::code_text;

const char* const kRefusal = "Tests by strata need ";
constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

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

// "1, 2, 3" for the first few codes, then how many more.
std::string code_list(const std::vector<double>& codes) {
  constexpr std::size_t kShown = 5;
  std::string s;
  for (std::size_t i = 0; i < codes.size() && i < kShown; ++i)
    s += (i ? ", " : "") + code_text(codes[i]);
  if (codes.size() > kShown) s += " and " + n(codes.size() - kShown) + " more";
  return s;
}

// The codes of every row, refusing missing ones.
void read_codes(const runtime::Matrix& group, const runtime::Matrix& repgroup, std::size_t m,
                std::vector<double>& g1, std::vector<double>& g2, std::vector<double>& t) {
  using runtime::raise;
  const std::size_t mg = group.rows();
  g1.resize(mg);
  g2.resize(mg);
  t.resize(m);
  for (std::size_t j = 0; j < mg; ++j) {
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
}

}  // namespace

bool StrataDesign::balanced() const {
  return std::all_of(counts.begin(), counts.end(), [&](double c) { return c == counts.front(); });
}

std::string StrataDesign::cell_name(std::size_t c) const {
  return "G1 = " + code_text(codes1[c / n2]) + " with G2 = " + code_text(codes2[c % n2]);
}

StrataDesign strata_design(const runtime::Matrix& group, const runtime::Matrix& repgroup,
                           std::size_t m, const std::vector<std::size_t>& row_specimen) {
  using runtime::raise;
  const std::size_t mg = group.rows();
  if (group.cols() < 2 || mg == 0)
    raise(std::string(kRefusal) + "group codes with two columns (G1 and G2), one row per specimen.");
  if (row_specimen.empty() && m != 2 * mg)
    raise(std::string(kRefusal) + "two measurements of every specimen: twice as many rows of "
          "landmark data as rows of group codes. Loaded: " + n(m) + " rows of landmark data and " +
          n(mg) + " rows of group codes.");
  if (!row_specimen.empty() && row_specimen.size() != m)
    raise(std::string(kRefusal) + "the specimen of every row of landmark data.");
  if (repgroup.numel() < m)
    raise(std::string(kRefusal) + "one repeated-measures code per row of landmark data: " +
          n(repgroup.numel()) + " codes for " + n(m) + " rows.");

  std::vector<double> g1, g2, t;
  read_codes(group, repgroup, m, g1, g2, t);
  const std::vector<double> codes = distinct(t);
  if (codes.size() != 2)
    raise(std::string(kRefusal) + "exactly two repeated-measures codes (one per measurement); "
          "the codes loaded hold " + n(codes.size()) + " distinct values: " + code_list(codes) + ".");

  // Each specimen's first and second row, in row order.
  std::vector<std::size_t> first(mg, kNone), second(mg, kNone);
  for (std::size_t r = 0; r < m; ++r) {
    const std::size_t j = row_specimen.empty() ? r % mg : row_specimen[r];
    if (j >= mg) raise(std::string(kRefusal) + "a row of group codes for every specimen; row " +
                       n(r + 1) + " names specimen " + n(j + 1) + " of " + n(mg) + ".");
    if (first[j] == kNone) {
      first[j] = r;
    } else if (second[j] == kNone) {
      second[j] = r;
    } else {
      raise(std::string(kRefusal) + "at most two rows of every specimen; specimen " + n(j + 1) +
            " has a third in row " + n(r + 1) + ".");
    }
  }

  StrataDesign d;
  const std::vector<double> levels1 = distinct(g1), levels2 = distinct(g2);
  d.codes1 = levels1;
  d.codes2 = levels2;
  d.n1 = levels1.size();
  d.n2 = levels2.size();
  d.counts.assign(d.cells(), 0.0);
  for (std::size_t j = 0; j < mg; ++j) {
    if (second[j] == kNone) {
      if (first[j] != kNone) d.left_out.push_back(j);
      continue;
    }
    const std::size_t a = first[j], b = second[j];
    if (t[a] == t[b])
      raise(std::string(kRefusal) + "one row under each repeated-measures code for every "
            "specimen; specimen " + n(j + 1) + " (rows " + n(a + 1) + " and " + n(b + 1) +
            ") has code " + code_text(t[a]) + " twice.");
    const std::uint32_t cell = level_of(levels1, g1[j]) * static_cast<std::uint32_t>(d.n2) +
                               level_of(levels2, g2[j]);
    d.specimen.push_back(j);
    d.cell.push_back(cell);
    d.lower_row.push_back(t[a] < t[b] ? a : b);
    d.upper_row.push_back(t[a] < t[b] ? b : a);
    d.counts[cell] += 1;
  }
  for (std::size_t c = 0; c < d.cells(); ++c)
    if (d.counts[c] == 0)
      raise(std::string(kRefusal) + "at least one specimen measured twice in every combination "
            "of a G1 and a G2 code; " + d.cell_name(c) + " has none.");
  if (d.df_denominator() < 1)
    raise(std::string(kRefusal) + "more specimens measured twice than combinations of a G1 and a "
          "G2 code: " + n(d.specimens()) + " specimens in " + n(d.cells()) + " combinations leave "
          "the specimens-within-cells and residual terms 0 degrees of freedom, and no F ratio "
          "exists.");
  return d;
}

}  // namespace lumivar::models
