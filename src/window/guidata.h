#pragma once
// One value per window, reachable from any object of the window: the main
// window keeps its handles table here. The value lives in the window's
// application data under "UsedByGUIData_m" and belongs to the window.
#include "runtime/value.h"
#include "runtime/window_runtime.h"

namespace lumivar::window {

// The value stored on the window containing `h` (an empty matrix if nothing
// was stored). Raises "H must be the handle to a figure or figure descendent."
// unless `h` is one live handle inside a window.
runtime::Value guidata(runtime::WindowRuntime& ui, const runtime::Value& h);
// Replaces the value stored on the window containing `h`; same check as above,
// made before anything is stored.
void guidata(runtime::WindowRuntime& ui, const runtime::Value& h, runtime::Value data_in);

}  // namespace lumivar::window
