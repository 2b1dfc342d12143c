#pragma once
// The batch tool's --sums option: how the analyses reach their sums, with
// the superimposition's progress line.
#include <string>

#include "partition/analysis_fit.h"

namespace lumivar::batch {

// `name`: "auto", "matrix" or "coordinates" (the command line checks it);
// anything else raises an Error. `threads`: as --threads. `progress`: show
// a long superimposition's progress (on a terminal).
partition::SumsSettings sums_settings(const std::string& name, int threads, bool progress = true);

}  // namespace lumivar::batch
