#include "study/landmark_table.h"

#include <array>
#include <map>
#include <optional>

#include "runtime/error.h"
#include "runtime/numbers.h"
#include "study/delimited_table.h"
#include "study/line_source.h"

namespace lumivar::study {

namespace {

struct Axis {
  char axis;              // 'x', 'y' or 'z'
  unsigned long number;   // landmark number (when numbered)
  bool numbered;          // false for a column named just x, y or z
};

bool is_axis(char c) { return c == 'x' || c == 'y' || c == 'z'; }

bool all_digits(std::string_view s) {
  if (s.empty() || s.size() > 6) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// x12, X_12, lm12x, 12y, z3, x, Y: the axis and the landmark number of a
// coordinate column's name.
std::optional<Axis> coordinate_name(std::string_view header) {
  std::string n;
  for (char c : lower_case(header))
    if (c != ' ' && c != '_' && c != '.' && c != '-') n += c;
  if (n.size() == 1 && is_axis(n[0])) return Axis{n[0], 0, false};
  if (n.size() < 2) return std::nullopt;
  if (is_axis(n[0]) && all_digits(std::string_view(n).substr(1)))
    return Axis{n[0], std::stoul(n.substr(1)), true};
  const char last = n.back();
  if (!is_axis(last)) return std::nullopt;
  std::size_t start = n.size() - 1;
  while (start > 0 && n[start - 1] >= '0' && n[start - 1] <= '9') --start;
  const std::string digits = n.substr(start, n.size() - 1 - start);
  if (!all_digits(digits)) return std::nullopt;
  for (std::size_t i = 0; i < start; ++i)
    if (n[i] < 'a' || n[i] > 'z') return std::nullopt;
  return Axis{last, std::stoul(digits), true};
}

std::size_t id_column(const DelimitedTable& t, const std::string& file) {
  for (const char* name : {"id", "specimen"}) {
    const std::size_t j = t.column(name, file);
    if (j != std::string::npos) return j;
  }
  for (std::size_t j = 0; j < t.header.size(); ++j) {
    if (coordinate_name(t.header[j])) continue;  // a typo in a coordinate makes no id column
    for (const DelimitedTable::Row& r : t.rows)
      if (!runtime::parse_number(r.cells[j])) return j;
  }
  runtime::raise("The file " + file +
                 " has no id column: name one column id or specimen, or give the ids as words.");
}

// The columns of x, y (and z) of every landmark, in landmark order, and
// the dimension: 3 when any coordinate column is named for z. The header
// alone decides them: the id column is never one (it is named id or
// specimen, or is the first column not named as a coordinate).
std::vector<std::size_t> coordinate_columns(const std::vector<std::string>& header, const std::string& file,
                                            int& dimensions) {
  const std::size_t none = std::string::npos;
  std::map<unsigned long, std::array<std::size_t, 3>> numbered;  // number -> x, y, z columns
  std::vector<std::size_t> bare;
  bool z = false;
  for (std::size_t j = 0; j < header.size(); ++j) {
    const std::optional<Axis> a = coordinate_name(header[j]);
    if (!a) continue;
    z = z || a->axis == 'z';
    if (!a->numbered) {
      bare.push_back(j);
      continue;
    }
    auto& slot = numbered.try_emplace(a->number, std::array<std::size_t, 3>{none, none, none}).first->second;
    std::size_t& col = slot[static_cast<std::size_t>(a->axis - 'x')];
    if (col != none)
      runtime::raise("The file " + file + " has two columns for " + std::string(1, a->axis) +
                     " of landmark " + std::to_string(a->number) + ": \"" + header[col] +
                     "\" and \"" + header[j] + "\".");
    col = j;
  }
  dimensions = z ? 3 : 2;
  const std::size_t d = z ? 3 : 2;
  const char* const names[] = {"an x", "a y", "a z"};
  std::vector<std::size_t> cols;
  if (!numbered.empty()) {
    for (const auto& [number, axes] : numbered) {
      std::size_t given = 0;
      while (axes[given] == none) ++given;  // some axis is there: the entry was made for it
      for (std::size_t a = 0; a < d; ++a)
        if (axes[a] == none)
          runtime::raise("The file " + file + " has " + names[given] + " column for landmark " +
                         std::to_string(number) + " (\"" + header[axes[given]] + "\") but no " +
                         std::string(1, static_cast<char>('x' + a)) + " column" +
                         (z && a < 2 ? "" : z ? " (the table names z columns, so every landmark needs one)" : "") +
                         ".");
      for (std::size_t a = 0; a < d; ++a) cols.push_back(axes[a]);
    }
    return cols;
  }
  for (std::size_t k = 0; k < bare.size(); ++k) {
    const char want = static_cast<char>('x' + k % d);
    if (lower_case(header[bare[k]])[0] != want || bare.size() % d != 0)
      runtime::raise("The file " + file + (z ? " has columns named x, y and z that do not come in x, y, z triples."
                                             : " has columns named x and y that do not come in x, y pairs."));
    cols.push_back(bare[k]);
  }
  if (cols.empty())
    runtime::raise("The file " + file +
                   " has no coordinate columns: name them x1, y1, x2, y2 ... after the landmark "
                   "they hold.");
  return cols;
}

}  // namespace

LandmarkFile read_landmark_table(LineSource& in, const std::string& file) {
  DelimitedReader reader(in, file);
  DelimitedTable t;
  t.header = reader.header();
  // The coordinates are read as the rows come, so that a large file is
  // parsed while it streams in; each cell's text is let go once read. The
  // problems are still told in the order of a whole-file reading: the rows'
  // own (raised by the reader), a table without rows, the id column, the
  // coordinate columns, then the first cell that is not a number.
  std::vector<std::size_t> cols;
  std::optional<std::string> cols_problem;
  int dimensions = 2;
  try {
    cols = coordinate_columns(t.header, file, dimensions);
  } catch (const runtime::Error& e) {
    cols_problem = e.what();
  }
  std::optional<std::string> not_a_number;
  LandmarkFile f{file, {}};
  f.dimensions = dimensions;
  DelimitedTable::Row r;
  while (reader.next(r)) {
    LandmarkEntry e;
    e.line = r.line;
    e.xy.reserve(cols.size());
    for (std::size_t j : cols) {
      const std::optional<double> v = runtime::parse_number(r.cells[j]);
      if (!v && !not_a_number)
        not_a_number = "File " + file + ", line " + std::to_string(r.line) + ", column \"" + t.header[j] +
                       "\": \"" + r.cells[j].substr(0, 40) + "\" is not a number.";
      e.xy.push_back(v.value_or(0));
      std::string().swap(r.cells[j]);
    }
    t.rows.push_back(std::move(r));
    f.entries.push_back(std::move(e));
  }
  if (t.rows.empty()) runtime::raise("The file " + file + " has a header line but no rows.");
  const std::size_t id = id_column(t, file);
  if (cols_problem) runtime::raise(*cols_problem);
  if (not_a_number) runtime::raise(*not_a_number);
  for (std::size_t i = 0; i < t.rows.size(); ++i) f.entries[i].id = std::move(t.rows[i].cells[id]);
  return f;
}

LandmarkFile parse_landmark_table(std::string_view text, const std::string& file) {
  LineSource in(text);
  return read_landmark_table(in, file);
}

}  // namespace lumivar::study
