#pragma once
// Every configuration the same shape: after superimposition the total sum of
// squares is zero up to rounding, every sum of the partition is zero and no
// F or P can be computed (they print NaN). Both analyses still write their
// table, and say why once, in a box that does not stop them.
#include "partition/partition.h"
#include "runtime/window_runtime.h"

namespace lumivar::partition {

inline constexpr const char* kShapesDoNotVaryTitle = "Warning";
inline constexpr const char* kShapesDoNotVaryText =
    "The shapes do not vary: after superimposition every configuration has the same shape "
    "(total sum of squares zero up to rounding), so no effect can be tested and every F and P "
    "is NaN. Check that the landmark file holds the specimens you meant to load.";

// Shows the box when the total of `p` is zero; says whether it did.
bool warn_if_shapes_do_not_vary(runtime::WindowRuntime& ui, const Partition& p);

}  // namespace lumivar::partition
