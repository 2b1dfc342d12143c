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

namespace detail {
// Input `index` (0-based) of a by-name call as a matrix. A call that passed
// fewer inputs raises an Error naming the function and how many it needs.
const runtime::Matrix& matrix_input(const runtime::Args& args, std::size_t index,
                                    std::string_view function, std::size_t needed);
}  // namespace detail

}  // namespace lumivar::geometry
