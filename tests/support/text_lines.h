#pragma once
// A report split the way a reader reads it: into lines, and a line into its
// tab-separated cells; a table into its rows and their fields.
#include <sstream>
#include <string>
#include <vector>

namespace lumivar::testing {

// The lines of `text`, without their line breaks (a final break adds no line).
inline std::vector<std::string> text_lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// The cells of one line of a table, split at each tab.
inline std::vector<std::string> tab_cells(const std::string& line) {
  std::vector<std::string> out;
  std::istringstream in(line);
  for (std::string cell; std::getline(in, cell, '\t');) out.push_back(cell);
  return out;
}

// The fields of every line of a table whose fields are separated by
// `separator` and never quoted (CSV of numbers, TSV): empty fields are kept,
// a last empty one too.
inline std::vector<std::vector<std::string>> table_fields(const std::string& text, char separator) {
  std::vector<std::vector<std::string>> rows;
  for (const std::string& line : text_lines(text)) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t at; (at = line.find(separator, start)) != std::string::npos; start = at + 1)
      fields.push_back(line.substr(start, at - start));
    fields.push_back(line.substr(start));
    rows.push_back(fields);
  }
  return rows;
}

}  // namespace lumivar::testing
