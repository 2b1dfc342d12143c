// The number parser: any bytes as one token and as one line of a file.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "runtime/numbers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto single = lumivar::runtime::parse_number(text);
  const lumivar::runtime::NumberRow row = lumivar::runtime::parse_number_row(text);
  // A line that converted whole holds no more values than it has bytes.
  if (row.ok() && row.values.size() > size) std::abort();
  // A token read as one number is one value of its line too.
  if (single && row.ok() && row.values.size() == 1 && !std::isnan(*single) &&
      row.values.front() != *single)
    std::abort();
  return 0;
}
