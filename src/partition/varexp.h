#pragma once
// The "VarExp" action: superimpose, partition (through the distance matrix
// or from the coordinates) and write the analytic table into "ResBox".
#include <string>

#include "input/session.h"
#include "partition/analysis_fit.h"
#include "partition/partition.h"
#include "runtime/window_runtime.h"

namespace lumivar::partition {

struct VarExpOutcome {
  Partition partition;        // the numbers of the report written
  DesignSizes sizes;          // of the session analysed
  runtime::Matrix xpt;        // the superimposed configurations the distances came from
  runtime::Matrix consensus;  // the shape they were rotated onto
  SumsMethod sums = SumsMethod::kMatrix;  // the way the sums were taken
  std::string report;                     // the text written into "ResBox"
};

// Stores the rebuilt `dmatrix` in the session (an empty one when the sums
// came from the coordinates, so no stale matrix is kept) and returns what the
// report was made from. Raises (leaving "ResBox" as it was) when the inputs
// do not allow the analysis.
VarExpOutcome varexp(runtime::WindowRuntime& ui, runtime::Session& s,
                     const SumsSettings& settings = {});

}  // namespace lumivar::partition
