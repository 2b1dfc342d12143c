#include "study/delimited_table.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "runtime/error.h"

namespace lumivar::study {

namespace {

// The lines of `text` without their line breaks (LF or CR LF).
std::vector<std::string_view> split_lines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    pos = end + 1;
  }
  return lines;
}

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

std::string read_whole_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) runtime::raise("Cannot open the file " + path + " (" + std::strerror(errno) + ").");
  std::ostringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
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

DelimitedTable parse_delimited_table(std::string_view text, const std::string& file) {
  const std::vector<std::string_view> lines = split_lines(without_bom(text));
  DelimitedTable t;
  std::size_t first = 0;
  while (first < lines.size() && trimmed(lines[first]).empty()) ++first;
  if (first == lines.size()) runtime::raise("The file " + file + " holds no header line and no data.");
  const char sep = separator_of(lines[first]);
  t.header = split_cells(lines[first], sep, first + 1, file);
  for (std::size_t i = first + 1; i < lines.size(); ++i) {
    std::vector<std::string> cells = split_cells(lines[i], sep, i + 1, file);
    if (all_empty(cells)) continue;
    if (cells.size() != t.header.size())
      runtime::raise("File " + file + ", line " + std::to_string(i + 1) + ": the line has " +
                     std::to_string(cells.size()) + " cells, but the header has " +
                     std::to_string(t.header.size()) + ".");
    t.rows.push_back({i + 1, std::move(cells)});
  }
  return t;
}

}  // namespace lumivar::study
