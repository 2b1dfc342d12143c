#pragma once
// How much memory this process may still take, for refusing a large
// allocation up front with a clear message instead of failing half way (or
// being killed by the kernel).
#include <cstdint>
#include <optional>
#include <string>

namespace lumivar::runtime {

// The least of: the memory the system reports available (MemAvailable), the
// room left under the process's control-group limit (cgroup v2 memory.max
// less memory.current, or v1's limit less usage), and the room left under the
// address-space limit (RLIMIT_AS less the current virtual size). Nothing when
// none of them can be read (another system).
std::optional<std::uint64_t> available_memory_bytes();

// "12.3 GB": bytes in units of 10^9 with one decimal, for messages.
std::string gigabytes(double bytes);

}  // namespace lumivar::runtime
