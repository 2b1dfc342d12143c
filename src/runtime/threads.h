#pragma once
// How many worker threads a parallel step uses. More threads than the
// process may run would only wait on each other (and oneTBB warns about
// them); no result depends on the number.
#include <algorithm>

#include <tbb/global_control.h>
#include <tbb/info.h>

namespace lumivar::runtime {

// `asked` threads (0 or less: as many as the process may run), capped at
// what the process may run: its CPU affinity and any global limit.
inline int worker_threads(int asked) {
  const int available = static_cast<int>(std::min<std::size_t>(
      static_cast<std::size_t>(tbb::info::default_concurrency()),
      tbb::global_control::active_value(tbb::global_control::max_allowed_parallelism)));
  return asked > 0 ? std::min(asked, available) : available;
}

}  // namespace lumivar::runtime
