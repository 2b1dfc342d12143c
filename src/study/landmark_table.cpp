#include "study/landmark_table.h"

#include <array>
#include <map>
#include <optional>

#include "runtime/error.h"
#include "runtime/numbers.h"
#include "runtime/printable.h"
#include "study/coordinate_values.h"
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

// The id column's cells, kept as the rows stream in. A column named id or
// specimen is known from the header; otherwise the id column is the first
// column, not named as a coordinate (a typo in one makes no id column), that
// holds a value which is not a number, which only the rows can tell. Only
// the cells that can still turn out to be ids are kept: those of the named
// column, or of the columns up to the first that has shown a word so far.
// So the reader holds about one cell per row, not the whole table.
class IdColumn {
 public:
  IdColumn(const std::vector<std::string>& header, const std::string& file) : file_(file) {
    DelimitedTable t;
    t.header = header;
    try {
      for (const char* name : {"id", "specimen"}) {
        named_ = t.column(name, file);
        if (named_ != std::string::npos) break;
      }
    } catch (const runtime::Error& e) {
      problem_ = e.what();
      return;
    }
    if (named_ != std::string::npos) {
      candidates_.push_back(named_);
      words_ = 0;
    } else {
      for (std::size_t j = 0; j < header.size(); ++j)
        if (!coordinate_name(header[j])) candidates_.push_back(j);
    }
    kept_.resize(candidates_.size());
  }

  // Takes row's cells that can still be ids (moved out of `cells`).
  void take(std::vector<std::string>& cells) {
    std::size_t keep = words_ == std::string::npos ? candidates_.size() : words_ + 1;
    for (std::size_t c = 0; c < keep; ++c) {
      std::string& cell = cells[candidates_[c]];
      if (c < words_ && !runtime::parse_number(cell)) {
        // A word further left than any before: the columns right of it can
        // no longer be the id column.
        words_ = c;
        keep = c + 1;
        for (std::size_t d = keep; d < kept_.size(); ++d) std::vector<std::string>().swap(kept_[d]);
      }
      kept_[c].push_back(std::move(cell));
    }
  }

  // The id of every row, in row order. Raises when the header names two id
  // columns or no column holds a word.
  std::vector<std::string> ids() {
    if (problem_) runtime::raise(*problem_);
    if (words_ >= candidates_.size())
      runtime::raise("The file " + file_ +
                     " has no id column: name one column id or specimen, or give the ids as words.");
    return std::move(kept_[words_]);
  }

 private:
  const std::string& file_;
  std::size_t named_ = std::string::npos;
  std::optional<std::string> problem_;
  std::vector<std::size_t> candidates_;        // columns that may hold the ids, in file order
  std::size_t words_ = std::string::npos;      // first candidate known to hold a word
  std::vector<std::vector<std::string>> kept_;  // cells of the candidates up to words_
};

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
                     " of landmark " + std::to_string(a->number) + ": \"" + runtime::printable(header[col]) +
                     "\" and \"" + runtime::printable(header[j]) + "\".");
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
                         std::to_string(number) + " (\"" + runtime::printable(header[axes[given]]) + "\") but no " +
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
  const std::vector<std::string>& header = reader.header();
  // The coordinates are read as the rows come, so that a large file is
  // parsed while it streams in; of the other cells only those that may be
  // ids are kept (IdColumn). The problems are still told in the order of a
  // whole-file reading: the rows' own (raised by the reader), a table
  // without rows, the id column, the coordinate columns, then the first cell
  // that is not a finite number.
  std::vector<std::size_t> cols;
  std::optional<std::string> cols_problem;
  int dimensions = 2;
  try {
    cols = coordinate_columns(header, file, dimensions);
  } catch (const runtime::Error& e) {
    cols_problem = e.what();
  }
  IdColumn ids(header, file);
  std::optional<std::string> bad_cell;
  LandmarkFile f{file, {}};
  f.dimensions = dimensions;
  DelimitedTable::Row r;
  while (reader.next(r)) {
    LandmarkEntry e;
    e.line = r.line;
    e.xy.reserve(cols.size());
    for (std::size_t j : cols) {
      const std::optional<double> v = runtime::parse_number(r.cells[j]);
      if (!bad_cell) {
        const std::string where = "File " + file + ", line " + std::to_string(r.line) + ", column \"" +
                                  runtime::printable_excerpt(header[j]) + "\": \"" +
                                  runtime::printable_excerpt(r.cells[j]) + "\" is ";
        if (!v)
          bad_cell = where + "not a number.";
        else if (const std::optional<std::string> problem = coordinate_problem(*v))
          bad_cell = where + *problem + "; every coordinate must be a finite number.";
      }
      e.xy.push_back(v.value_or(0));
    }
    ids.take(r.cells);
    f.entries.push_back(std::move(e));
  }
  if (f.entries.empty()) runtime::raise("The file " + file + " has a header line but no rows.");
  std::vector<std::string> id = ids.ids();
  if (cols_problem) runtime::raise(*cols_problem);
  if (bad_cell) runtime::raise(*bad_cell);
  for (std::size_t i = 0; i < f.entries.size(); ++i) f.entries[i].id = std::move(id[i]);
  return f;
}

LandmarkFile parse_landmark_table(std::string_view text, const std::string& file) {
  LineSource in(text);
  return read_landmark_table(in, file);
}

}  // namespace lumivar::study
