#pragma once
// The distribution functions callable by name, with their declared numbers of
// inputs and outputs: fcdf 3/1, chi2cdf 2/1, gamcdf 3/1, distchck one fixed
// argument and then any number, both ways. Calls with fewer arguments than a
// function needs are refused here with the function's own message.
#include "runtime/function_table.h"

namespace lumivar::distributions {

runtime::FunctionEntry fcdf_entry();
runtime::FunctionEntry chi2cdf_entry();
runtime::FunctionEntry gamcdf_entry();
// Results: errorcode, then one adjusted argument per further result asked for.
runtime::FunctionEntry distchck_entry();

}  // namespace lumivar::distributions
