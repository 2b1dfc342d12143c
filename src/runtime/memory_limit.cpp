#include "runtime/memory_limit.h"

#include <sys/resource.h>
#include <unistd.h>

#include <charconv>
#include <fstream>
#include <sstream>

namespace lumivar::runtime {
namespace {

// The first whole number in a file (or the value after `key` in a
// "key value" file), or nothing ("max" and unreadable files give nothing).
std::optional<std::uint64_t> read_number(const char* path, const std::string& key = {}) {
  std::ifstream in(path);
  if (!in) return std::nullopt;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string first;
    words >> first;
    if (!key.empty()) {
      if (first != key) continue;
      words >> first;
    }
    if (first.empty() || first.find_first_not_of("0123456789") != std::string::npos)
      return std::nullopt;
    return std::stoull(first);
  }
  return std::nullopt;
}

void keep_least(std::optional<std::uint64_t>& least, std::optional<std::uint64_t> value) {
  if (value && (!least || *value < *least)) least = value;
}

std::optional<std::uint64_t> room(std::optional<std::uint64_t> limit,
                                  std::optional<std::uint64_t> used) {
  if (!limit) return std::nullopt;
  const std::uint64_t u = used.value_or(0);
  return *limit > u ? *limit - u : 0;
}

}  // namespace

std::optional<std::uint64_t> available_memory_bytes() {
  std::optional<std::uint64_t> least;
  if (auto kb = read_number("/proc/meminfo", "MemAvailable:")) keep_least(least, *kb * 1024);
  keep_least(least, room(read_number("/sys/fs/cgroup/memory.max"),
                         read_number("/sys/fs/cgroup/memory.current")));
  // cgroup v1 reports "no limit" as a huge number, which keep_least ignores.
  keep_least(least, room(read_number("/sys/fs/cgroup/memory/memory.limit_in_bytes"),
                         read_number("/sys/fs/cgroup/memory/memory.usage_in_bytes")));
  rlimit as{};
  if (getrlimit(RLIMIT_AS, &as) == 0 && as.rlim_cur != RLIM_INFINITY) {
    // /proc/self/statm: the first field is the virtual size in pages.
    auto pages = read_number("/proc/self/statm");
    keep_least(least, room(static_cast<std::uint64_t>(as.rlim_cur),
                           pages ? std::optional<std::uint64_t>(*pages * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE))) : std::nullopt));
  }
  return least;
}

std::string gigabytes(double bytes) {
  // to_chars, not printf: the window program runs under the user's locale,
  // which may write a decimal comma.
  char text[64];
  const auto end = std::to_chars(text, text + sizeof text, bytes / 1e9, std::chars_format::fixed, 1).ptr;
  return std::string(text, end) + " GB";
}

}  // namespace lumivar::runtime
