#pragma once
// What both analyses check before they start, so that a missing or short
// input is named in the user's terms instead of surfacing as an index error
// halfway through, and degenerate specimens are refused by row number.
#include "partition/partition.h"
#include "runtime/session.h"

namespace lumivar::partition {

// The design sizes of the loaded session. Raises when the landmark data, the
// repeated-measures codes or the group codes are missing, too short for the
// data, or when a specimen's landmarks all coincide (centroid size 0).
DesignSizes check_analysis_inputs(const runtime::Session& s);

}  // namespace lumivar::partition
