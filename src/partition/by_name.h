#pragma once
// The sums of squares as entries of the table of functions callable by name,
// with their declared numbers of inputs and outputs.
#include "runtime/function_table.h"

namespace lumivar::partition {

runtime::FunctionEntry getsstotal_entry();  // 2 inputs, 1 output
runtime::FunctionEntry getssgroup_entry();  // 3 inputs, 1 output

}  // namespace lumivar::partition
