#pragma once
// Program entry: hands the window function and the command-line words to the
// window runtime's main loop, whose result is the program's exit status.
#include <string>
#include <vector>

#include "runtime/window_runtime.h"

namespace lumivar::shell {

// Creates the program's state (the session with all ten values empty and the
// table of functions callable by name), calls Lumivar with `words` as text
// arguments (none: the main window opens), and runs the main loop.
int Lumivar_mainhg(runtime::WindowRuntime& ui, const std::vector<std::string>& words);

}  // namespace lumivar::shell
