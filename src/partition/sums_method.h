#pragma once
// Which way an analysis takes to its sums of squared distances: through the
// m x m distance matrix (8 m^2 bytes) or from the superimposed coordinates
// (linear memory). Both give the same report; "auto" keeps the matrix for the
// studies it suits and takes the coordinates above.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumivar::partition {

enum class SumsMethod { kAuto, kMatrix, kCoordinates };

// Above this many rows "auto" takes the coordinates. Here the matrix takes
// 800 MB, so every run that "auto" sends through it stays under 1 GiB, and
// it already costs about 30 times the time of the coordinates (4 s of CPU
// against 0.12 s for a whole "varexp"); docs/performance.md has the curve.
inline constexpr std::size_t kMatrixRowLimit = 10'000;

// "auto", "matrix" or "coordinates".
std::string_view sums_method_name(SumsMethod method);
std::optional<SumsMethod> parse_sums_method(std::string_view name);

// The way taken for `rows` rows: kMatrix or kCoordinates. "auto" takes the
// matrix when the rows are at most kMatrixRowLimit (or, with `matrix_needed`,
// whatever their number) and the matrix takes at most half of `available`
// bytes (the rest of the run needs room too); an unknown `available` allows
// it. An explicit choice is returned as it is.
SumsMethod resolve_sums_method(SumsMethod requested, std::size_t rows,
                               std::optional<std::uint64_t> available, bool matrix_needed = false);

}  // namespace lumivar::partition
