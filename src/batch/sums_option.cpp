#include "batch/sums_option.h"

#include "batch/superimposition_progress.h"
#include "runtime/error.h"

namespace lumivar::batch {

partition::SumsSettings sums_settings(const std::string& name, int threads, bool progress,
                                      const std::atomic<bool>* cancel) {
  const std::optional<partition::SumsMethod> method = partition::parse_sums_method(name);
  if (!method)
    runtime::raise("--sums must be auto, matrix or coordinates, not \"" + name + "\".");
  partition::SumsSettings s;
  s.sums = *method;
  s.threads = threads;
  if (progress) s.superimposition_progress = terminal_superimposition_progress();
  s.cancel = cancel;
  return s;
}

}  // namespace lumivar::batch
