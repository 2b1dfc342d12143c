#include "input/group_rows.h"

#include <charconv>
#include <cmath>

namespace lumivar::input {

std::string count_text(double v) {
  char buf[32];
  const auto end = v == std::floor(v)
                       ? std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 0).ptr
                       : std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6).ptr;
  return std::string(buf, end);
}

std::string group_rows_problem(const std::string& file_name, std::size_t group_rows,
                               std::size_t data_rows, double nrep) {
  const double specimens = static_cast<double>(data_rows) / nrep;
  if (static_cast<double>(group_rows) == specimens) return {};
  return "The group code file " + (file_name.empty() ? std::string() : file_name + " ") + "has " +
         std::to_string(group_rows) + " rows, but it needs one per specimen: " +
         std::to_string(data_rows) + " rows of landmark data / " + count_text(nrep) +
         " repeated-measures codes = " + count_text(specimens) + " specimens.";
}

}  // namespace lumivar::input
