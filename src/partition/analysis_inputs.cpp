#include "partition/analysis_inputs.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "geometry/centsize.h"
#include "input/group_rows.h"
#include "runtime/error.h"

namespace lumivar::partition {

using runtime::raise;

namespace detail {

std::string row_list(const std::vector<std::size_t>& rows) {
  std::string out;
  constexpr std::size_t kShown = 20;
  for (std::size_t i = 0; i < rows.size() && i < kShown; ++i)
    out += (i ? ", " : "") + std::to_string(rows[i]);
  if (rows.size() > kShown) out += " and " + std::to_string(rows.size() - kShown) + " more";
  return out;
}

// "the repeated-measures code file reps.txt" (or without a name).
std::string file_named(const char* what, const std::string& name) {
  return std::string("the ") + what + " file" + (name.empty() ? "" : " " + name);
}

// The name of a loaded file without its folder, as the status boxes show it.
std::string file_name(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

std::string capitalised(std::string text) {
  if (!text.empty()) text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  return text;
}

std::string code_text(double v) {
  if (std::isnan(v)) return "NaN";
  if (std::isinf(v)) return v > 0 ? "Inf" : "-Inf";
  char buf[32];
  return std::string(buf, std::to_chars(buf, buf + sizeof buf, v + 0.0).ptr);  // -0 is 0
}

using input::count_text;

// The codes must match the rows of landmark data, and be labels: NaN and
// infinite codes are refused with the file and line they came from (line i of
// a code file is its row i).
void check_codes_match_data(const runtime::Session& s) {
  const std::size_t m = s.data.rows();
  const auto not_finite = [](const std::string& file, std::size_t line, const std::string& code,
                             double v) {
    raise(capitalised(file) + ", line " + std::to_string(line) + ": the " + code + " " +
          code_text(v) + " is not a finite number. Codes are labels such as 1 and 2; correct "
          "the file and load it again.");
  };
  const std::string reps = file_named("repeated-measures code", file_name(s.sources.reps.path));
  if (s.repgroup.rows() != m)
    raise(capitalised(reps) + " has " + std::to_string(s.repgroup.rows()) +
          " rows, but the landmark data has " + std::to_string(m) +
          ": one code per row of landmark data is needed.");
  for (std::size_t i = 1; i <= m; ++i)
    if (!std::isfinite(s.repgroup(i))) not_finite(reps, i, "code", s.repgroup(i));

  const std::string groups = file_named("group code", file_name(s.sources.groups.path));
  if (s.group.cols() < 2)
    raise("The group code file has one column; it needs two (the G1 and the G2 code of each "
          "specimen).");
  for (std::size_t i = 1; i <= s.group.rows(); ++i)
    for (std::size_t c = 1; c <= 2; ++c)
      if (!std::isfinite(s.group(i, c)))
        not_finite(groups, i, c == 1 ? "G1 code" : "G2 code", s.group(i, c));
  const double nrep = s.nrep(1);
  if (nrep == 2 && !row_specimens(s.data, s.group.rows()).empty())
    raise("The study has specimens measured once (" + std::to_string(m) + " rows of landmark data "
          "for " + std::to_string(s.group.rows()) + " specimens); VarExp and Permute need two "
          "measurements of every specimen. The tests by strata take such a study, leaving those "
          "specimens out: run lumivar-batch strata with the same files, or Analysis > Tests by "
          "strata in the window.");
  const std::string rows_problem =
      input::group_rows_problem(file_name(s.sources.groups.path), s.group.rows(), m, nrep);
  if (!rows_problem.empty()) raise(rows_problem);
  if (2 * s.group.rows() < m)
    raise("The analyses take one or two measurements per specimen, but the repeated-measures "
          "codes have " + count_text(nrep) + " values: rows 1 to " +
          std::to_string(s.group.rows()) + " of the landmark data should be the specimens at "
          "one measurement and the next " + std::to_string(s.group.rows()) +
          " rows the same specimens at the other.");
}

// Names the cells of the factors `codes` (one column per factor, one entry
// per row) that do not hold as many rows as a balanced design of all the
// cells the distinct codes make: "cell (G1 1, G2 2) has 3, ..." (or "code 2
// has 19" for one factor), the cells with rows first, then empty ones, the
// first few in code order. Empty when every cell holds its share. `cells` is
// set to the number of cells. O(m log m) for m rows.
std::string mismatched_cells(const std::vector<const char*>& names,
                             const std::vector<std::vector<double>>& codes, std::size_t m,
                             double& cells) {
  const std::size_t nf = codes.size();
  std::vector<std::vector<double>> levels(nf);
  cells = 1;
  for (std::size_t f = 0; f < nf; ++f) {
    levels[f] = codes[f];
    std::sort(levels[f].begin(), levels[f].end());
    levels[f].erase(std::unique(levels[f].begin(), levels[f].end()), levels[f].end());
    cells *= static_cast<double>(levels[f].size());
  }
  const double required = static_cast<double>(m) / cells;
  std::vector<std::vector<double>> rows(m, std::vector<double>(nf));
  for (std::size_t i = 0; i < m; ++i)
    for (std::size_t f = 0; f < nf; ++f) rows[i][f] = codes[f][i];
  std::sort(rows.begin(), rows.end());

  const auto describe = [&](const std::vector<double>& cell, std::size_t count) {
    std::string text = nf == 1 ? "code " + code_text(cell[0]) : "cell (";
    for (std::size_t f = 0; nf > 1 && f < nf; ++f)
      text += (f ? ", " : "") + std::string(names[f]) + " " + code_text(cell[f]);
    return text + (nf == 1 ? "" : ")") + " has " + (count == 0 ? "none" : std::to_string(count));
  };
  constexpr std::size_t kShown = 10;
  std::vector<std::string> shown;
  double wrong = 0;
  std::vector<std::vector<double>> present;
  for (std::size_t i = 0; i < m;) {
    std::size_t j = i;
    while (j < m && rows[j] == rows[i]) ++j;
    present.push_back(rows[i]);
    if (static_cast<double>(j - i) != required) {
      ++wrong;
      if (shown.size() < kShown) shown.push_back(describe(rows[i], j - i));
    }
    i = j;
  }
  const double empty = cells - static_cast<double>(present.size());
  wrong += empty;
  // The first empty cells in code order: a walk over all cells beside the
  // present ones, which stops once enough are found.
  std::vector<std::size_t> at(nf, 0);
  for (std::size_t p = 0, found = 0; static_cast<double>(found) < empty && shown.size() < kShown;) {
    std::vector<double> cell(nf);
    for (std::size_t f = 0; f < nf; ++f) cell[f] = levels[f][at[f]];
    if (p < present.size() && present[p] == cell) {
      ++p;
    } else {
      ++found;
      shown.push_back(describe(cell, 0));
    }
    for (std::size_t f = nf; f-- > 0;) {
      if (++at[f] < levels[f].size()) break;
      at[f] = 0;
    }
  }
  const double more = wrong - static_cast<double>(shown.size());
  std::string out;
  for (std::size_t i = 0; i < shown.size(); ++i)
    out += (i == 0 ? "" : i + 1 == shown.size() && more == 0 ? " and " : ", ") + shown[i];
  if (more > 0) out += " and " + count_text(more) + " more";
  return out;
}

// Unequal G1 x G2 cells without an empty one are a design the tests by
// strata take: the refusal says how to run them.
std::string strata_hint(std::size_t factors, const std::string& wrong) {
  if (factors != 2 || wrong.find("has none") != std::string::npos) return "";
  return " The tests by strata take unequal cells: run lumivar-batch strata with the same files, "
         "or Analysis > Tests by strata in the window.";
}

// The divisors of the partition assume a balanced design: every measurement
// code, every G1 x G2 cell and every G1 x G2 x T cell on the same number of
// rows. Unequal counts give wrong sums (negative SS, Per Exp above 100 %).
void check_balance(const runtime::Session& s) {
  const std::size_t m = s.data.rows(), mg = s.group.rows();
  std::vector<double> g1(m), g2(m), t(m);
  for (std::size_t i = 0; i < m; ++i) {
    g1[i] = s.group(i % mg + 1, 1);
    g2[i] = s.group(i % mg + 1, 2);
    t[i] = s.repgroup(i + 1);
  }
  struct Level {
    std::vector<const char*> names;
    std::vector<std::vector<double>> codes;
    const char* what;
  };
  const Level levels[] = {{{"T"}, {t}, "repeated-measures code"},
                          {{"G1", "G2"}, {g1, g2}, "G1 x G2 cell"},
                          {{"G1", "G2", "T"}, {g1, g2, t}, "G1 x G2 x T cell"}};
  for (const Level& l : levels) {
    double cells = 0;
    const std::string wrong = mismatched_cells(l.names, l.codes, m, cells);
    if (wrong.empty()) continue;
    raise("The design is not balanced, so its sums of squares cannot be partitioned: every " +
          std::string(l.what) + " should have " + count_text(static_cast<double>(m) / cells) +
          " rows of landmark data (" + std::to_string(m) + " rows / " + count_text(cells) +
          (l.codes.size() == 1 ? " codes" : " cells") + "), but " + wrong +
          ". Check the repeated-measures and group code files." + strata_hint(l.codes.size(), wrong));
  }
}
}  // namespace detail

namespace {

DesignSizes checked_inputs(const runtime::Session& s, bool balanced) {
  using runtime::raise;
  const std::size_t m = s.data.rows();
  if (s.data.empty()) raise("No landmark data is loaded: load the landmark file first.");
  if (m < 2)
    raise("The landmark data holds " + std::to_string(m) +
          " specimen; the analysis needs at least two.");
  if (s.dimensions == 3 && (s.data.cols() % 3 != 1 || s.data.cols() < 7))
    raise("The landmark data has " + std::to_string(s.data.cols()) +
          " columns; as three-dimensional landmarks each row should hold the x, y and z of at "
          "least two landmarks followed by one trailing value (3k + 1 columns).");
  if (s.dimensions != 3 && (s.data.cols() % 2 == 0 || s.data.cols() < 5))
    raise("The landmark data has " + std::to_string(s.data.cols()) +
          " columns; each row should hold the x and y of at least two landmarks followed by one "
          "trailing value (an odd number of columns).");
  if (s.repgroup.empty() || s.nrep.empty())
    raise("No repeated-measures codes are loaded: load the repeated-measures code file first.");
  if (s.group.empty() || s.n1g.empty() || s.n2g.empty())
    raise("No group codes are loaded: load the group code file first.");
  detail::check_codes_match_data(s);
  if (balanced) detail::check_balance(s);

  std::vector<std::size_t> degenerate;
  std::vector<double> row(s.data.cols());
  for (std::size_t i = 1; i <= m; ++i) {
    for (std::size_t c = 1; c <= row.size(); ++c) row[c - 1] = s.data(i, c);
    const double size = geometry::detail::centroid_size(
        row.data(), row.size(), static_cast<std::size_t>(s.dimensions));
    if (!(size > 0) || !std::isfinite(size)) degenerate.push_back(i);
  }
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

}  // namespace

DesignSizes check_analysis_inputs(const runtime::Session& s) { return checked_inputs(s, true); }

DesignSizes check_inputs_of_any_design(const runtime::Session& s) { return checked_inputs(s, false); }

void check_permutation_design(const runtime::Session& s, const DesignSizes& sizes) {
  const std::size_t mg = s.group.rows();
  std::vector<std::size_t> same;
  for (std::size_t j = 1; j <= mg && j + mg <= s.data.rows(); ++j)
    if (s.repgroup(j) == s.repgroup(j + mg)) same.push_back(j);
  if (!same.empty()) {
    const std::size_t j = same.front();
    raise("The permutation test exchanges the two measurements of each specimen, which it "
          "takes from rows j and j + " + std::to_string(mg) + " of the landmark data, so "
          "those rows must carry the two different repeated-measures codes; but rows " +
          std::to_string(j) + " and " + std::to_string(j + mg) + " both carry code " +
          detail::code_text(s.repgroup(j)) +
          (same.size() > 1 ? " (and " + std::to_string(same.size() - 1) + " more specimens "
                             "likewise)" : std::string()) +
          ". Put every specimen's first measurement in rows 1 to " + std::to_string(mg) +
          " and its second, in the same order, in the rows after them.");
  }
  const double df_error = error_df(sizes);
  if (!(df_error > 0))
    raise("The permutation test needs error degrees of freedom, but this design has none: " +
          detail::count_text(sizes.m) + " rows of landmark data in " +
          detail::count_text(sizes.n1g * sizes.n2g * sizes.nrep) +
          " G1 x G2 x T cells leave one row per cell, so there is no error mean square to "
          "divide by and no F ratio to compare. It needs at least two specimens in every G1 x "
          "G2 cell.");
}

std::vector<std::size_t> row_specimens(const runtime::Matrix& data, std::size_t mg) {
  const std::size_t m = data.rows(), last = data.cols();
  if (m == 2 * mg || last == 0) return {};
  std::vector<std::size_t> out(m);
  for (std::size_t r = 0; r < m; ++r) {
    const double v = data(r + 1, last);
    if (!(v >= 1 && v <= static_cast<double>(mg)) || v != std::floor(v)) return {};
    out[r] = static_cast<std::size_t>(v) - 1;
  }
  return out;
}

}  // namespace lumivar::partition
