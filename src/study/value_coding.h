#pragma once
// Codes for the values of a sheet column (measurement, G1, G2). The analyses
// compare codes exactly and cross two factors as a * (max(b) + 1) + b, which
// keeps crossed cells apart only for whole codes that are not negative (and
// small enough to stay exact). So a column whose values are all whole
// numbers from 0 to 9999 keeps them as codes; any other column (words such
// as "male" or "day7", fractions, negative or larger numbers) gets codes 1,
// 2, ... in the order in which its values first appear.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lumivar::study {

struct ValueCoding {
  std::string column;               // the role's name, for messages and codes.txt
  bool as_written = false;          // the numbers are their own codes
  std::vector<std::string> values;  // distinct values as first written, in order of first appearance
  std::vector<double> codes;        // the code of each value

  // Position in `values` of `cell` (numbers compare by value when the
  // codes are as written, texts exactly otherwise); npos when absent.
  std::size_t index_of(std::string_view cell) const;
  double code_of(std::string_view cell) const { return codes[index_of(cell)]; }
};

ValueCoding code_values(std::string column, const std::vector<std::string>& cells);

}  // namespace lumivar::study
