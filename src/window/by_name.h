#pragma once
// The window-support operations callable by name, each bound to the window
// runtime it acts on. Declared counts (inputs/outputs): guidata 2/1,
// guihandles 1/1, openfig 2/1, isvarname 1/1, movegui any/0, iskeyword 1/1.
#include "runtime/function_table.h"
#include "runtime/window_runtime.h"

namespace lumivar::window {

runtime::FunctionEntry guidata_entry(runtime::WindowRuntime& ui);
runtime::FunctionEntry guihandles_entry(runtime::WindowRuntime& ui);
runtime::FunctionEntry openfig_entry(runtime::WindowRuntime& ui);
runtime::FunctionEntry isvarname_entry(runtime::WindowRuntime& ui);
runtime::FunctionEntry movegui_entry(runtime::WindowRuntime& ui);
runtime::FunctionEntry iskeyword_entry(runtime::WindowRuntime& ui);

}  // namespace lumivar::window
