#include "geometry/distance_memory.h"

#include <optional>
#include <string>

#include "runtime/error.h"
#include "runtime/memory_limit.h"

namespace lumivar::geometry {

double distance_matrix_bytes(std::size_t m) {
  const double rows = static_cast<double>(m);
  return 8.0 * rows * rows;
}

void check_distance_matrix_memory(std::size_t m, double kept_bytes) {
  const double need = distance_matrix_bytes(m);
  const std::optional<std::uint64_t> available = runtime::available_memory_bytes();
  if (!available || need <= static_cast<double>(*available)) return;
  std::string text = "The distance matrix of " + std::to_string(m) +
                     " rows of landmark data needs " + runtime::gigabytes(need) +
                     " of memory, but this program can take only " +
                     runtime::gigabytes(static_cast<double>(*available)) + " more.";
  if (kept_bytes >= 0.05e9)  // worth a mention at one decimal of a GB
    text += " The matrix of the previous analysis (" + runtime::gigabytes(kept_bytes) +
            ") stays in memory until the new one is complete, " + runtime::gigabytes(need + kept_bytes) +
            " in all.";
  runtime::raise(text + " Close other programs or analyse a smaller study.");
}

}  // namespace lumivar::geometry
