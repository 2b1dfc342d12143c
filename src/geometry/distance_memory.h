#pragma once
// Refusing a distance matrix that does not fit, before any work is done: an
// m x m matrix takes 8 m^2 bytes (3.2 GB at m = 20,000), and allocating more
// than the process may take ends in std::bad_alloc or, worse, in the kernel
// killing the program.
#include <cstddef>
#include <cstdint>

namespace lumivar::geometry {

// Bytes of the m x m distance matrix.
double distance_matrix_bytes(std::size_t m);

// Raises an Error that states both sizes in GB when the m x m matrix needs
// more than runtime::available_memory_bytes(). `kept_bytes`: a previous
// matrix that stays in memory until the new one is complete (it is already
// in use, so the room reported excludes it; the message counts it). Does
// nothing when the system does not say how much memory is available.
void check_distance_matrix_memory(std::size_t m, double kept_bytes = 0);

}  // namespace lumivar::geometry
