#include "study/value_coding.h"

#include <cmath>
#include <optional>
#include <set>

#include "runtime/numbers.h"

namespace lumivar::study {

namespace {

constexpr double kLargestWrittenCode = 9999;

std::optional<double> small_whole(std::string_view cell) {
  const std::optional<double> v = runtime::parse_number(cell);
  if (!v || !(*v >= 0 && *v <= kLargestWrittenCode) || std::floor(*v) != *v) return std::nullopt;
  return *v;
}

}  // namespace

std::size_t ValueCoding::index_of(std::string_view cell) const {
  const std::optional<double> v = small_whole(cell);
  for (std::size_t i = 0; i < values.size(); ++i) {
    // A whole number matches the value of its own code (so "2" and "2.0"
    // are one value); anything else matches its text exactly.
    if (v ? codes[i] == *v && small_whole(values[i]) : values[i] == cell) return i;
  }
  return std::string::npos;
}

ValueCoding code_values(std::string column, const std::vector<std::string>& cells) {
  ValueCoding c;
  c.column = std::move(column);
  std::set<double> taken;
  c.as_written = !cells.empty();
  for (const std::string& cell : cells) {
    const std::optional<double> v = small_whole(cell);
    if (v) taken.insert(*v);
    c.as_written = c.as_written && v.has_value();
  }
  double next = 1;
  for (const std::string& cell : cells) {
    if (c.index_of(cell) != std::string::npos) continue;
    c.values.push_back(cell);
    if (const std::optional<double> v = small_whole(cell)) {
      c.codes.push_back(*v);
      continue;
    }
    while (taken.count(next) != 0) ++next;
    c.codes.push_back(next++);
  }
  return c;
}

}  // namespace lumivar::study
