#pragma once
// Opens a window from its layout file (".fig"). Under "reuse" one window per
// layout file is kept and brought back on later calls; under "new" every call
// makes another. The windows opened from one file are listed, oldest first,
// in the root object's application data under the file's token: the name part
// followed by "_SINGLETON_handle", cut to 31 characters.
#include <string>

#include "runtime/window_runtime.h"

namespace lumivar::window {

// `filename`: a layout file name with or without folder and extension (an
// absent extension means ".fig"; any other than exactly ".fig" raises
// "Argument must be a .fig file"). `policy`: "new" or "reuse", compared
// exactly (else "Second input argument must be 'new' or 'reuse'."). Both
// checks come before anything is loaded or stored. The window is moved on
// screen and, when its "Visible" is "on", made current and raised. Returns
// its handle.
runtime::Handle openfig(runtime::WindowRuntime& ui, const std::string& filename,
                        const std::string& policy = "new");

}  // namespace lumivar::window
