// The layout loader: any bytes as a layout file. A layout it cannot use must
// raise the program's Error (naming the file and the key), leave no window
// behind, and never exhaust the stack.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "runtime/error.h"
#include "runtime/headless/headless_runtime.h"
#include "runtime/layout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lumivar::runtime::headless::HeadlessRuntime ui;
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    lumivar::runtime::build_layout(ui, text, "fuzz.fig");
  } catch (const lumivar::runtime::Error&) {
    if (!ui.figures().empty()) std::abort();  // a refused layout left a window
  }
  return 0;
}
