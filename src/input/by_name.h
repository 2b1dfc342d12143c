#pragma once
// Entries of the input functions in the table of functions callable by name.
#include "runtime/function_table.h"
#include "runtime/window_runtime.h"

namespace lumivar::input {

runtime::FunctionEntry mfload_entry(runtime::WindowRuntime& ui);
runtime::FunctionEntry dload_entry();
runtime::FunctionEntry getcodecount_entry(runtime::WindowRuntime& ui);
runtime::FunctionEntry mergegroups_entry();

}  // namespace lumivar::input
