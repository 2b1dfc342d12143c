#include "study/delimited_table.h"

#include <algorithm>
#include <cctype>

#include "runtime/error.h"
#include "study/line_source.h"

namespace lumivar::study {

namespace {

char separator_of(std::string_view header) {
  for (char c : {'\t', ',', ';'})
    if (header.find(c) != std::string_view::npos) return c;
  return ' ';
}

// The cells of one line. A blank separator stands for any run of blanks and
// tabs; the other separators part every cell, empty ones included.
std::vector<std::string> split_cells(std::string_view line, char sep, std::size_t line_no,
                                     const std::string& file) {
  std::vector<std::string> cells;
  std::size_t i = 0;
  const auto is_sep = [sep](char c) { return sep == ' ' ? c == ' ' || c == '\t' : c == sep; };
  if (sep == ' ') {
    while (i < line.size() && is_sep(line[i])) ++i;
    if (i == line.size()) return cells;
  }
  while (true) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t') && !is_sep(line[i])) ++i;
    std::string cell;
    if (i < line.size() && line[i] == '"') {
      ++i;
      bool closed = false;
      while (i < line.size()) {
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            cell += '"';
            i += 2;
            continue;
          }
          ++i;
          closed = true;
          break;
        }
        cell += line[i++];
      }
      if (!closed)
        runtime::raise("File " + file + ", line " + std::to_string(line_no) +
                       ": a quoted cell is not closed on its line.");
      while (i < line.size() && !is_sep(line[i])) cell += line[i++];
    } else {
      while (i < line.size() && !is_sep(line[i])) cell += line[i++];
    }
    cells.emplace_back(trimmed(cell));
    if (i >= line.size()) break;
    if (sep == ' ') {
      while (i < line.size() && is_sep(line[i])) ++i;
      if (i == line.size()) break;
    } else {
      ++i;
      if (i == line.size()) {
        cells.emplace_back();
        break;
      }
    }
  }
  return cells;
}

bool all_empty(const std::vector<std::string>& cells) {
  return std::all_of(cells.begin(), cells.end(), [](const std::string& c) { return c.empty(); });
}

}  // namespace

std::string lower_case(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string_view trimmed(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view without_bom(std::string_view s) {
  if (s.substr(0, 3) == "\xEF\xBB\xBF") s.remove_prefix(3);
  return s;
}

std::size_t DelimitedTable::column(std::string_view name, const std::string& file) const {
  const std::string wanted = lower_case(name);
  std::size_t found = std::string::npos;
  for (std::size_t j = 0; j < header.size(); ++j) {
    if (lower_case(header[j]) != wanted) continue;
    if (found != std::string::npos)
      runtime::raise("File " + file + ": two columns are named \"" + std::string(name) + "\".");
    found = j;
  }
  return found;
}

DelimitedReader::DelimitedReader(LineSource& in, const std::string& file) : in_(in), file_(file) {
  bool found = false;
  while (!found && in_.next(line_)) found = !trimmed(line_).empty();
  if (!found) runtime::raise("The file " + file_ + " holds no header line and no data.");
  separator_ = separator_of(line_);
  header_ = split_cells(line_, separator_, in_.number(), file_);
}

bool DelimitedReader::next(DelimitedTable::Row& row) {
  while (in_.next(line_)) {
    std::vector<std::string> cells = split_cells(line_, separator_, in_.number(), file_);
    if (all_empty(cells)) continue;
    if (cells.size() != header_.size())
      runtime::raise("File " + file_ + ", line " + std::to_string(in_.number()) + ": the line has " +
                     std::to_string(cells.size()) + " cells, but the header has " +
                     std::to_string(header_.size()) + ".");
    row.line = in_.number();
    row.cells = std::move(cells);
    return true;
  }
  return false;
}

DelimitedTable read_delimited_table(LineSource& in, const std::string& file) {
  DelimitedReader reader(in, file);
  DelimitedTable t;
  t.header = reader.header();
  DelimitedTable::Row row;
  while (reader.next(row)) t.rows.push_back(std::move(row));
  return t;
}

DelimitedTable parse_delimited_table(std::string_view text, const std::string& file) {
  LineSource in(text);
  return read_delimited_table(in, file);
}

}  // namespace lumivar::study
