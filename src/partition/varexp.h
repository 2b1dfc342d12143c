#pragma once
// The "VarExp" action: rebuild the distance matrix, partition it and write
// the analytic table into "ResBox".
#include "partition/partition.h"
#include "runtime/session.h"
#include "runtime/window_runtime.h"

namespace lumivar::partition {

struct VarExpOutcome {
  Partition partition;        // the numbers of the report written
  DesignSizes sizes;          // of the session analysed
  runtime::Matrix xpt;        // the superimposed configurations the distances came from
  runtime::Matrix consensus;  // the shape they were rotated onto
};

// Stores the rebuilt `dmatrix` in the session and returns what the report
// was made from. Raises (leaving "ResBox" as it was) when the inputs do not
// allow the analysis.
VarExpOutcome varexp(runtime::WindowRuntime& ui, runtime::Session& s);

}  // namespace lumivar::partition
