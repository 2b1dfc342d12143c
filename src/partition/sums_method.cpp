#include "partition/sums_method.h"

#include "geometry/distance_memory.h"

namespace lumivar::partition {

std::string_view sums_method_name(SumsMethod method) {
  switch (method) {
    case SumsMethod::kMatrix:
      return "matrix";
    case SumsMethod::kCoordinates:
      return "coordinates";
    case SumsMethod::kAuto:
      break;
  }
  return "auto";
}

std::optional<SumsMethod> parse_sums_method(std::string_view name) {
  for (SumsMethod m : {SumsMethod::kAuto, SumsMethod::kMatrix, SumsMethod::kCoordinates})
    if (name == sums_method_name(m)) return m;
  return std::nullopt;
}

SumsMethod resolve_sums_method(SumsMethod requested, std::size_t rows,
                               std::optional<std::uint64_t> available, bool matrix_needed) {
  if (requested != SumsMethod::kAuto) return requested;
  const bool fits = !available || 2 * geometry::distance_matrix_bytes(rows) <= static_cast<double>(*available);
  const bool small = matrix_needed || rows <= kMatrixRowLimit;
  return fits && small ? SumsMethod::kMatrix : SumsMethod::kCoordinates;
}

}  // namespace lumivar::partition
