// What a user sees when an action fails, runs out of memory or is cancelled:
// the window's button callbacks are where these surface.
#include "runtime/error.h"

#include <gtest/gtest.h>

#include <new>

#include "runtime/headless/headless_runtime.h"
#include "runtime/layout.h"

namespace lumivar::runtime {
namespace {

TEST(ActionBoundary, OutOfMemoryIsSaidInWordsAndACancelIsNoError) {
  headless::HeadlessRuntime ui;
  RecordingConsole console;
  ui.set_console(&console);
  FunctionTable table;
  table.add({"huge", 0, 0, [](const Args&, int) -> Results { throw std::bad_alloc(); }});
  table.add({"stopped", 0, 0, [](const Args&, int) -> Results {
               raise_cancelled("The permutation test was cancelled after 10 of 99 relabellings.");
             }});
  ui.set_function_table(&table);
  build_layout(ui, R"({"Figure": {}, "Controls": [
      {"Style": "pushbutton", "Tag": "Huge", "Callback": ["huge"]},
      {"Style": "pushbutton", "Tag": "Stop", "Callback": ["stopped"]}]})", "test");

  ui.invoke_callback(ui.find_by_tag("Huge").front());
  ASSERT_EQ(ui.message_boxes.size(), 1u);
  EXPECT_EQ(ui.message_boxes[0].title, "Error");
  EXPECT_EQ(ui.message_boxes[0].text.rfind("Out of memory: ", 0), 0u) << ui.message_boxes[0].text;
  EXPECT_EQ(ui.message_boxes[0].text.find("bad_alloc"), std::string::npos);
  EXPECT_EQ(console.lines.back(), ui.message_boxes[0].text);

  ui.invoke_callback(ui.find_by_tag("Stop").front());
  ASSERT_EQ(ui.message_boxes.size(), 2u);
  EXPECT_EQ(ui.message_boxes[1].title, "Cancelled");
  EXPECT_EQ(ui.message_boxes[1].text, "The permutation test was cancelled after 10 of 99 relabellings.");
}

}  // namespace
}  // namespace lumivar::runtime
