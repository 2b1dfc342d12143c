#include "study/landmark_table.h"

#include <map>
#include <optional>

#include "runtime/error.h"
#include "runtime/numbers.h"
#include "study/delimited_table.h"

namespace lumivar::study {

namespace {

struct Axis {
  char axis;              // 'x' or 'y'
  unsigned long number;   // landmark number (when numbered)
  bool numbered;          // false for a column named just x or y
};

bool all_digits(std::string_view s) {
  if (s.empty() || s.size() > 6) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// x12, X_12, lm12x, 12y, x, Y: the axis and the landmark number of a
// coordinate column's name.
std::optional<Axis> coordinate_name(std::string_view header) {
  std::string n;
  for (char c : lower_case(header))
    if (c != ' ' && c != '_' && c != '.' && c != '-') n += c;
  if (n == "x" || n == "y") return Axis{n[0], 0, false};
  if (n.size() < 2) return std::nullopt;
  if ((n[0] == 'x' || n[0] == 'y') && all_digits(std::string_view(n).substr(1)))
    return Axis{n[0], std::stoul(n.substr(1)), true};
  const char last = n.back();
  if (last != 'x' && last != 'y') return std::nullopt;
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

// The columns of x and y of every landmark, in landmark order.
std::vector<std::size_t> coordinate_columns(const DelimitedTable& t, std::size_t id, const std::string& file) {
  std::map<unsigned long, std::pair<std::size_t, std::size_t>> numbered;  // number -> (x col, y col)
  std::vector<std::size_t> bare;
  const std::size_t none = std::string::npos;
  for (std::size_t j = 0; j < t.header.size(); ++j) {
    if (j == id) continue;
    const std::optional<Axis> a = coordinate_name(t.header[j]);
    if (!a) continue;
    if (!a->numbered) {
      bare.push_back(j);
      continue;
    }
    auto& slot = numbered.try_emplace(a->number, none, none).first->second;
    std::size_t& col = a->axis == 'x' ? slot.first : slot.second;
    if (col != none)
      runtime::raise("The file " + file + " has two columns for " + std::string(1, a->axis) +
                     " of landmark " + std::to_string(a->number) + ": \"" + t.header[col] +
                     "\" and \"" + t.header[j] + "\".");
    col = j;
  }
  std::vector<std::size_t> cols;
  if (!numbered.empty()) {
    for (const auto& [number, xy] : numbered) {
      if (xy.first == none || xy.second == none)
        runtime::raise("The file " + file + " has " + (xy.first == none ? "a y" : "an x") +
                       " column for landmark " + std::to_string(number) + " (\"" +
                       t.header[xy.first == none ? xy.second : xy.first] + "\") but no " +
                       (xy.first == none ? "x" : "y") + " column.");
      cols.push_back(xy.first);
      cols.push_back(xy.second);
    }
    return cols;
  }
  for (std::size_t k = 0; k < bare.size(); ++k) {
    const char want = k % 2 == 0 ? 'x' : 'y';
    if (lower_case(t.header[bare[k]])[0] != want || bare.size() % 2 != 0)
      runtime::raise("The file " + file + " has columns named x and y that do not come in x, y pairs.");
    cols.push_back(bare[k]);
  }
  if (cols.empty())
    runtime::raise("The file " + file +
                   " has no coordinate columns: name them x1, y1, x2, y2 ... after the landmark "
                   "they hold.");
  return cols;
}

}  // namespace

LandmarkFile parse_landmark_table(std::string_view text, const std::string& file) {
  const DelimitedTable t = parse_delimited_table(text, file);
  if (t.rows.empty()) runtime::raise("The file " + file + " has a header line but no rows.");
  const std::size_t id = id_column(t, file);
  const std::vector<std::size_t> cols = coordinate_columns(t, id, file);
  LandmarkFile f{file, {}};
  for (const DelimitedTable::Row& r : t.rows) {
    LandmarkEntry e;
    e.line = r.line;
    e.id = r.cells[id];
    for (std::size_t j : cols) {
      const std::optional<double> v = runtime::parse_number(r.cells[j]);
      if (!v)
        runtime::raise("File " + file + ", line " + std::to_string(r.line) + ", column \"" +
                       t.header[j] + "\": \"" + r.cells[j].substr(0, 40) + "\" is not a number.");
      e.xy.push_back(*v);
    }
    f.entries.push_back(std::move(e));
  }
  return f;
}

}  // namespace lumivar::study
