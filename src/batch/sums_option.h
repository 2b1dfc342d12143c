#pragma once
// The batch tool's --sums option: how the analyses reach their sums, with
// the superimposition's progress line.
#include <atomic>
#include <string>

#include "partition/analysis_fit.h"

namespace lumivar::batch {

// `name`: "auto", "matrix" or "coordinates" (the command line checks it);
// anything else raises an Error. `threads`: as --threads. `progress`: show
// a long superimposition's progress (on a terminal). `cancel`: the Ctrl-C
// flag that stops the superimposition and the distance matrix.
partition::SumsSettings sums_settings(const std::string& name, int threads, bool progress = true,
                                      const std::atomic<bool>* cancel = nullptr);

}  // namespace lumivar::batch
