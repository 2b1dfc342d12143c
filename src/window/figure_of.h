#pragma once
// The window that an argument names: the argument must be one valid handle,
// of a window or of anything inside one.
#include <optional>

#include "runtime/value.h"
#include "runtime/window_runtime.h"

namespace lumivar::window {

// Nothing when `h` is not a single valid handle or lies in no window.
std::optional<runtime::Handle> figure_of(const runtime::WindowRuntime& ui, const runtime::Value& h);

}  // namespace lumivar::window
