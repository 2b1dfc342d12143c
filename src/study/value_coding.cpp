#include "study/value_coding.h"

#include <cmath>
#include <optional>

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
  const std::optional<double> v = as_written ? small_whole(cell) : std::nullopt;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (as_written ? (v && codes[i] == *v) : values[i] == cell) return i;
  }
  return std::string::npos;
}

ValueCoding code_values(std::string column, const std::vector<std::string>& cells) {
  ValueCoding c;
  c.column = std::move(column);
  c.as_written = !cells.empty();
  for (const std::string& cell : cells) c.as_written = c.as_written && small_whole(cell).has_value();
  for (const std::string& cell : cells) {
    if (c.index_of(cell) != std::string::npos) continue;
    c.values.push_back(cell);
    c.codes.push_back(c.as_written ? *small_whole(cell) : static_cast<double>(c.codes.size() + 1));
  }
  return c;
}

}  // namespace lumivar::study
