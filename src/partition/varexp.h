#pragma once
// The "VarExp" action: rebuild the distance matrix, partition it and write
// the analytic table into "ResBox".
#include "partition/partition.h"
#include "runtime/session.h"
#include "runtime/window_runtime.h"

namespace lumivar::partition {

// Stores the rebuilt `dmatrix` in the session and returns the partition
// whose report it wrote. Raises (leaving "ResBox" as it was) when the inputs
// do not allow the analysis.
Partition varexp(runtime::WindowRuntime& ui, runtime::Session& s);

}  // namespace lumivar::partition
