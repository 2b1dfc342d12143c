#pragma once
// The text of the analytic table that "VarExp" writes into the results box.
#include <string>

#include "partition/partition.h"

namespace lumivar::partition {

std::string varexp_report(const Partition& p);

}  // namespace lumivar::partition
