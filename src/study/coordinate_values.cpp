#include "study/coordinate_values.h"

#include <cmath>
#include <limits>

#include "study/landmark_file.h"

namespace lumivar::study {

namespace {

const std::string kTooLarge =
    "too large for a coordinate (beyond 1e150 in magnitude, whose squares the analyses could not "
    "add up)";

}  // namespace

std::optional<std::string> coordinate_problem(double v) {
  if (std::isnan(v)) return "not a number (NaN)";
  if (std::isinf(v)) return std::string("infinite or beyond the largest number a double holds");
  if (std::abs(v) > kLargestCoordinate) return kTooLarge;
  return std::nullopt;
}

std::optional<std::string> scale_problem(double scale) {
  if (!(scale > 0) || !std::isfinite(scale)) return "not a positive finite number";
  return std::nullopt;
}

std::optional<std::string> apply_scale(std::vector<double>& xy, double scale) {
  for (double v : xy) {
    const double scaled = v * scale;
    if (v != 0 && std::abs(scaled) < std::numeric_limits<double>::min())
      return "turns the coordinate " + number_text(v) + " into " +
             (scaled == 0 ? std::string("0") : "a number too small to keep its digits (" + number_text(scaled) + ")");
    if (coordinate_problem(scaled))
      return "turns the coordinate " + number_text(v) + " into " + number_text(scaled) +
             ", which is " + *coordinate_problem(scaled);
  }
  for (double& v : xy) v *= scale;
  return std::nullopt;
}

}  // namespace lumivar::study
