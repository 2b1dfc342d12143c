#pragma once
// Program entry: hands the window function and the command-line words to the
// window runtime's main loop, whose result is the program's exit status.
#include <functional>
#include <string>
#include <vector>

#include "runtime/window_runtime.h"

namespace lumivar::shell {

struct Application;

// Creates the program's state (the session with all ten values empty and the
// table of functions callable by name), calls Lumivar with `words` as text
// arguments (none: the main window opens), and runs the main loop.
//
// `on_start`, when given, is called once with the program's state right
// after that call of Lumivar (whether or not it opened the main window) and
// before the loop waits for the first event: the place to add what the
// window program shows beyond the main window (menus, views). An error it
// raises is reported like a failed start.
int Lumivar_mainhg(runtime::WindowRuntime& ui, const std::vector<std::string>& words,
                   const std::function<void(Application&)>& on_start = {});

}  // namespace lumivar::shell
