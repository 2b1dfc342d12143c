#pragma once
// The window function. Without arguments it opens the main window from its
// layout "Lumivar" (one window: a second call brings the same one back),
// gives it the controls' background colour and stores its handles table on
// it. With a text first argument it is the switchyard: it calls the function
// of that name (one of the five box callbacks, or any function callable by
// name) with the remaining arguments; an error there is written to the
// console and goes no further. Any other first argument does nothing.
#include "runtime/function_table.h"
#include "shell/application.h"

namespace lumivar::shell {

runtime::Results Lumivar(Application& app, const runtime::Args& args, int nargout);

}  // namespace lumivar::shell
