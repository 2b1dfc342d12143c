#pragma once
// A progress report for a step that reports (done, total) through a plain
// callback: the monitor opens at the first report, so a step that never
// reports shows nothing, and closes once done >= total, so what follows
// can show its own. A later report opens a fresh one.
#include <cstddef>
#include <functional>
#include <string>

#include "runtime/progress_monitor.h"

namespace lumivar::runtime {

// Returns false once the user asked to cancel. An empty `open`, or one that
// opens nothing, shows nothing and always answers true. The returned
// function owns its monitor; call it from one thread at a time.
std::function<bool(std::size_t done, std::size_t total)> progress_on_demand(ProgressOpener open,
                                                                            std::string title);

}  // namespace lumivar::runtime
