#pragma once
// A headless window holding the five tagged boxes, for the load actions.
#include "runtime/headless/headless_runtime.h"
#include "runtime/layout.h"

namespace lumivar::testing {

inline runtime::Handle add_boxes(runtime::WindowRuntime& ui) {
  return runtime::build_layout(ui, R"({"Figure": {}, "Controls": [
      {"Style": "edit", "Tag": "FileBox", "String": "before"},
      {"Style": "edit", "Tag": "RepBox", "String": "before"},
      {"Style": "edit", "Tag": "GroupBox", "String": "before"},
      {"Style": "edit", "Tag": "ResBox", "String": "before"},
      {"Style": "edit", "Tag": "PermBox", "String": "9"}]})",
                               "test boxes");
}

inline std::string box(const runtime::WindowRuntime& ui, const char* tag) {
  return ui.get(ui.find_by_tag(tag).front(), "String").text();
}

// n lines of `cols` numbers each.
inline std::string number_lines(int n, int cols) {
  std::string s;
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < cols; ++j) s += std::to_string(i * cols + j) + (j + 1 < cols ? " " : "\n");
  }
  return s;
}

}  // namespace lumivar::testing
