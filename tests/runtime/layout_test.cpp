// Layout files as a user might hand-edit them (or as a hostile file might be
// made): every refusal names the file and the key, and no input exhausts the
// stack or leaves half a window behind.
#include "runtime/layout.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/error.h"
#include "runtime/headless/headless_runtime.h"
#include "support/temp_files.h"

namespace lumivar::runtime {
namespace {

// Loads `json` saved as a file `name` in a temporary folder; the error's
// message (or "loaded") and the path it was loaded from.
struct Loaded {
  std::string message;
  std::string path;
};

Loaded load(const std::string& json, const std::string& name = "Mine.fig") {
  const lumivar::testing::TempFolder folder;
  headless::HeadlessRuntime ui;
  const std::string path = folder.write(name, json);
  try {
    ui.load_layout(path);
  } catch (const Error& e) {
    EXPECT_TRUE(ui.figures().empty()) << "a refused layout leaves no window";
    return {e.what(), path};
  }
  return {"loaded", path};
}

TEST(LayoutFile, NestingBeyondWhatALayoutNeedsIsRefusedBeforeReading) {
  // A million '[' (2 MB): read recursively it overflows the stack.
  const std::string deep = R"({"Figure": {"Position": )" + std::string(1'000'000, '[') +
                           std::string(1'000'000, ']') + "}}";
  const Loaded r = load(deep);
  EXPECT_EQ(r.message, "The layout file " + r.path +
                           " nests its values 1000002 levels deep; a layout needs at most 16.");
  // Brackets inside texts are only text, and the window's own depth is fine.
  EXPECT_EQ(load(R"({"Figure": {"Name": "[[[[[[[[[[[[[[[[[[[[[[\"[[[[[[[[[["},
                     "Controls": [{"Callback": ["lumivarsw", ["Load", ["a"]]]}]})")
                .message,
            "loaded");
}

TEST(LayoutFile, AWrongTypeNamesTheFileTheObjectAndTheKey) {
  const auto says = [](const std::string& json, const std::string& rest) {
    const Loaded r = load(json);
    EXPECT_EQ(r.message, "The layout file " + r.path + ", " + rest) << json;
  };
  says(R"({"Figure": 5})", "the top level, \"Figure\": must be an object of window properties.");
  says(R"({"Figure": {}, "Controls": {"Tag": "Go"}})",
       "the top level, \"Controls\": must be a list of controls.");
  says(R"({"Figure": {}, "Controls": [{"Tag": "A"}, "Go"]})",
       "control 2 of \"Controls\": must be an object of properties.");
  says(R"({"Figure": {}, "Controls": [{"Type": 3}]})",
       "control 1 of \"Controls\", \"Type\": must be a text.");
  says(R"({"Figure": {}, "Controls": [{"Tag": "A"}, {"Position": [1, "x", 3, 4]}]})",
       "control 2 of \"Controls\", \"Position\": a list of numbers holds a value that is not a "
       "number.");
  says(R"({"Figure": {"Color": {"r": 1}}})",
       "\"Figure\", \"Color\": an object, which no property takes (a number, text, true/false or "
       "a list).");
  says(R"({"Figure": {"Parent": 0}})",
       "\"Figure\", \"Parent\": The property \"Parent\" cannot be set.");
}

}  // namespace
}  // namespace lumivar::runtime
