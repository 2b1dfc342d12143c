#pragma once
// What the landmark readers accept as a coordinate, and what a TPS SCALE=
// may do to one. A coordinate is a finite number small enough that the
// analyses can square and add it (the centroid size of a configuration sums
// the squares of its coordinates): NaN, Inf, numbers beyond the largest
// double (1e400 reads as Inf) and numbers beyond kLargestCoordinate are
// refused where they are read, naming the file and the line, rather than
// later by their row in the analysis, which matches no line of the file.
#include <optional>
#include <string>
#include <vector>

namespace lumivar::study {

// Far beyond any measurement, and its square times a million landmarks
// still a finite double.
inline constexpr double kLargestCoordinate = 1e150;

// Why `v` cannot be a coordinate ("not a finite number", ...), to follow
// "is" in a message; nothing when it can.
std::optional<std::string> coordinate_problem(double v);

// Why `scale` cannot scale coordinates (it must be a positive finite
// number), to follow "is"; nothing when it can.
std::optional<std::string> scale_problem(double scale);

// Multiplies every coordinate of `xy` by `scale` (a positive finite number).
// When that turns a coordinate that is not 0 into 0 or a number too small to
// keep its digits (below the smallest normal double), or into one beyond
// kLargestCoordinate, leaves `xy` as it was and says what happened
// ("turns the coordinate 3.5 into 0").
std::optional<std::string> apply_scale(std::vector<double>& xy, double scale);

}  // namespace lumivar::study
