#pragma once
// A headless window holding the five tagged boxes, for the load actions.
#include <gtest/gtest.h>

#include <string>

#include "input/load_actions.h"
#include "runtime/headless/headless_runtime.h"
#include "runtime/layout.h"
#include "support/temp_files.h"

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

// A session on the five boxes, loading files written into a temporary
// folder as if the user chose them in the dialog; the working folder that
// the loads change is restored after.
class LoadFixture : public ::testing::Test {
 protected:
  void SetUp() override { add_boxes(ui); }
  // Writes `text` as the file `name` and loads it as landmarks (of
  // `dimensions` coordinates; 0: as the file says), measurement codes or
  // group codes.
  input::LoadOutcome load_file(const char* name, const std::string& text, int dimensions = 0) {
    ui.queue_file(t.write(name, text));
    return input::load(ui, s, input::kLoadProgressBytes, dimensions);
  }
  input::LoadOutcome load_codes(const char* name, const std::string& text) {
    ui.queue_file(t.write(name, text));
    return input::loadrepgroup(ui, s);
  }
  input::LoadOutcome load_groups(const char* name, const std::string& text) {
    ui.queue_file(t.write(name, text));
    return input::loadgroup(ui, s);
  }
  KeepWorkingFolder keep;
  TempFolder t;
  runtime::headless::HeadlessRuntime ui;
  runtime::Session s;
};

}  // namespace lumivar::testing
