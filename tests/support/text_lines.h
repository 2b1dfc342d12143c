#pragma once
// A report split the way a reader reads it: into lines, and a line into its
// tab-separated cells.
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

}  // namespace lumivar::testing
