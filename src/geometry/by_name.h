#pragma once
// The geometry operations as entries of the table of functions callable by
// name, with their declared numbers of inputs and outputs.
#include <cstddef>
#include <string_view>

#include "runtime/function_table.h"

namespace lumivar::geometry {

runtime::FunctionEntry centpos_entry();                // 1 input, 1 output
runtime::FunctionEntry centsize_entry();               // 1 input, 1 output
runtime::FunctionEntry getconsensus_entry();           // 1 input, 2 outputs
runtime::FunctionEntry allpairwiseprocrustes_entry();  // 1 input, 1 output

}  // namespace lumivar::geometry
