#pragma once
// A plain file of whitespace-separated numbers read as a matrix, one row per
// line (blank lines skipped), for tests that take a study's files as they are.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/matrix.h"

namespace lumivar::testing {

inline runtime::Matrix read_numbers(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::vector<double>> rows;
  for (std::string line; std::getline(in, line);) {
    std::istringstream f(line);
    std::vector<double> row;
    for (double v; f >> v;) row.push_back(v);
    if (!row.empty()) rows.push_back(row);
  }
  runtime::Matrix m(rows.size(), rows.empty() ? 0 : rows[0].size());
  for (std::size_t i = 0; i < rows.size(); ++i)
    for (std::size_t j = 0; j < rows[i].size(); ++j) m(i + 1, j + 1) = rows[i][j];
  return m;
}

}  // namespace lumivar::testing
