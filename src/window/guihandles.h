#pragma once
// The handles table of a window: one field per control tag that is an
// identifier, holding the handles of every object carrying that tag. It is a
// snapshot of the window at the time of the call. Cost: one visit per object
// of the window's tree, O(n) field look-ups each.
#include "runtime/value.h"
#include "runtime/window_runtime.h"

namespace lumivar::window {

// The table of the window containing `h`: a Record whose fields follow the
// order in which their tags are first met in the window's tree, each a row of
// handles in listing order; an empty matrix when no object qualifies. Raises
// "H must be the handle to a figure or figure descendent." unless `h` is one
// live handle inside a window.
runtime::Value guihandles(runtime::WindowRuntime& ui, const runtime::Value& h);
// The table of the current window (an empty matrix when no window is open).
runtime::Value guihandles(runtime::WindowRuntime& ui);

}  // namespace lumivar::window
