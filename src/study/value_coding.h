#pragma once
// Codes for the values of a sheet column (measurement, G1, G2). The analyses
// compare codes exactly and cross two factors as a * (max(b) + 1) + b, which
// keeps crossed cells apart only for whole codes that are not negative (and
// small enough to stay exact). So a value that is a whole number from 0 to
// 9999 is its own code, whatever else the column holds (a user who reads
// "2" in the sheet finds code 2 in the files made from it); every other
// value (words such as "male" or "day7", fractions, negative or larger
// numbers) gets the codes 1, 2, ... that no such number of the column takes,
// in the order in which the values first appear.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lumivar::study {

struct ValueCoding {
  std::string column;               // the role's name, for messages and codes.txt
  bool as_written = false;          // every value is a whole number, its own code
  std::vector<std::string> values;  // distinct values as first written, in order of first appearance
  std::vector<double> codes;        // the code of each value

  // Position in `values` of `cell` (whole numbers from 0 to 9999 compare by
  // value, anything else by its text); npos when absent.
  std::size_t index_of(std::string_view cell) const;
  double code_of(std::string_view cell) const { return codes[index_of(cell)]; }
};

ValueCoding code_values(std::string column, const std::vector<std::string>& cells);

}  // namespace lumivar::study
