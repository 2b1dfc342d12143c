#include "runtime/progress_on_demand.h"

#include <memory>
#include <utility>

namespace lumivar::runtime {

std::function<bool(std::size_t, std::size_t)> progress_on_demand(ProgressOpener open,
                                                                 std::string title) {
  // Shared so that copies of the function report to one monitor.
  auto monitor = std::make_shared<std::unique_ptr<ProgressMonitor>>();
  return [open = std::move(open), title = std::move(title), monitor](std::size_t done,
                                                                     std::size_t total) {
    if (!*monitor && open) *monitor = open(title);
    const bool go_on = !*monitor || (*monitor)->update(done, total);
    if (done >= total) monitor->reset();
    return go_on;
  };
}

}  // namespace lumivar::runtime
