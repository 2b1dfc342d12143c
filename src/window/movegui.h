#pragma once
// Places a window at a named or numeric position on the screen, shrinking it
// to the screen when it is larger, and making sure it lies on the screen.
#include "runtime/function_table.h"
#include "runtime/window_runtime.h"

namespace lumivar::window {

// `args`: 0 to 3 values, in any order, each one of
//   - a live handle of a window or of an object inside one (the window to move);
//   - a position name: "north", "south", "east", "west", "northeast",
//     "southeast", "northwest", "southwest", "center" or "onscreen";
//   - an [x y] pair in pixels for the outer lower-left corner, a negative
//     value counting from the right or top edge.
// A later argument of a kind replaces an earlier one. Without a window the
// window of the running callback is moved, else the current window; without
// a position, "onscreen". Writes the window's "OuterPosition" in pixels and
// leaves its "Units" and "ActivePositionProperty" and the screen's "Units"
// as they were. Argument errors are raised before any property changes.
void movegui(runtime::WindowRuntime& ui, const runtime::Args& args);

}  // namespace lumivar::window
