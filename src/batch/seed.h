#pragma once
// The batch tool's --seed: a whole number that a 64-bit seed can hold.
#include <cstdint>
#include <optional>
#include <string_view>

namespace lumivar::batch {

inline constexpr std::string_view kSeedRule =
    "must be a whole number from 0 to 18446744073709551615";

// Decimal digits only (blanks, signs, fractions and exponents are refused),
// at most 2^64 - 1; nothing otherwise.
std::optional<std::uint64_t> parse_seed(std::string_view text);

}  // namespace lumivar::batch
