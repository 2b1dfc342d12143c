#include "batch/seed.h"

#include <charconv>

namespace lumivar::batch {

std::optional<std::uint64_t> parse_seed(std::string_view text) {
  // Digits only: a seed written "-1" or "1e23" is a mistake, not a number to round.
  if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
    return std::nullopt;
  std::uint64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace lumivar::batch
