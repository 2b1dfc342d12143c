#pragma once
// Layout files (".fig"): JSON describing one window and its controls.
//
//   { "Figure":   { "Name": "...", "Position": [x, y, w, h], ... },
//     "Controls": [ { "Style": "pushbutton", "Tag": "...", "String": "...",
//                     "Position": [x, y, w, h], "Callback": ["lumivarsw", "Load"] }, ... ] }
//
// Every key becomes a property of that name. Numbers and arrays of numbers
// become matrices (a row), texts stay texts, arrays of texts become lists, and
// true/false become 1/0. Positions are pixels from the lower-left corner.
#include <string>

#include "runtime/window_runtime.h"

namespace lumivar::runtime {

// Builds the window that `json_text` describes; `source` names it in errors.
Handle build_layout(WindowRuntime& ui, const std::string& json_text, const std::string& source);

}  // namespace lumivar::runtime
