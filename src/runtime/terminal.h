#pragma once
// Whether a stream is an interactive terminal, the one platform query the
// batch tool needs to decide whether to draw progress lines.
#include <cstdio>

namespace lumivar::runtime {

// True when `stream` is open on a terminal (not a file, pipe or null device).
bool is_terminal(std::FILE* stream);

}  // namespace lumivar::runtime
