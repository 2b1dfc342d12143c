#include "runtime/window_runtime.h"

#include <gtest/gtest.h>

#include "runtime/error.h"
#include "runtime/headless/headless_runtime.h"
#include "runtime/layout.h"

namespace lumivar::runtime {
namespace {

using headless::HeadlessRuntime;

constexpr const char* kLayout = R"({
  "Figure": {"Name": "Test", "Position": [10, 20, 300, 200]},
  "Controls": [
    {"Style": "edit", "Tag": "ResBox", "String": "old", "Position": [1, 2, 3, 4]},
    {"Style": "pushbutton", "Tag": "Go", "Callback": ["echo", "$object", "$event", "word"]},
    {"Style": "pushbutton", "Tag": "Bad", "Callback": ["fails"]},
    {"Style": "edit", "Tag": "ResBox"}
  ]})";

TEST(WindowRuntime, PropertiesCompareCaseInsensitivelyAndKeepTheirFirstSpelling) {
  HeadlessRuntime ui;
  const Handle fig = build_layout(ui, kLayout, "test");
  const Handle box = ui.find_by_tag("ResBox").front();
  EXPECT_EQ(ui.get(box, "string").text(), "old");
  ui.set(box, "STRING", Value("new"));
  EXPECT_EQ(ui.get(box, "String").text(), "new");
  EXPECT_EQ(ui.get(box, "type").text(), "uicontrol");
  EXPECT_EQ(ui.get(box, "parent").scalar(), fig);
  EXPECT_TRUE(ui.get(box, "NoSuchProperty").is_empty());
  EXPECT_TRUE(ui.get(kRoot, "parent").is_empty());
  EXPECT_THROW(ui.get(12345, "String"), Error);
}

TEST(WindowRuntime, FindsByTagOverOpenWindowsInTreeOrderAndSetsThemAll) {
  HeadlessRuntime ui;
  const Handle first = build_layout(ui, kLayout, "test");
  build_layout(ui, kLayout, "test");
  EXPECT_EQ(ui.find_by_tag("ResBox").size(), 4u);
  EXPECT_EQ(ui.set_string_by_tag("ResBox", "x"), 4u);
  EXPECT_TRUE(ui.find_by_tag("resbox").empty());  // tags compare exactly
  ui.close_figure(first);
  EXPECT_EQ(ui.find_by_tag("ResBox").size(), 2u);
  EXPECT_FALSE(ui.is_valid(first));
  EXPECT_EQ(ui.figures().size(), 1u);
}

TEST(WindowRuntime, InnerAndOuterRectanglesOfAWindowMoveTogether) {
  HeadlessRuntime ui;
  ui.set_frame_insets({3, 3, 3, 21});
  const Handle fig = ui.create("figure", kRoot);
  ui.set(fig, "OuterPosition", Value(Matrix::row({100, 100, 406, 324})));
  EXPECT_EQ(ui.get(fig, "Position").matrix(), Matrix::row({103, 103, 400, 300}));
  ui.set(fig, "position", Value(Matrix::row({0, 0, 10, 10})));
  EXPECT_EQ(ui.get(fig, "outerposition").matrix(), Matrix::row({-3, -3, 16, 34}));
}

TEST(WindowRuntime, CallbacksRunThroughTheTableAndErrorsReachConsoleAndABox) {
  HeadlessRuntime ui;
  RecordingConsole console;
  ui.set_console(&console);
  FunctionTable table;
  Args seen;
  Value object_during_call;
  table.add({"echo", -1, 0, [&](const Args& a, int) {
               seen = a;
               object_during_call = ui.callback_object();
               return Results{};
             }});
  table.add({"fails", 0, 0, [](const Args&, int) -> Results { raise("it broke"); }});
  ui.set_function_table(&table);
  build_layout(ui, kLayout, "test");
  const Handle go = ui.find_by_tag("Go").front();
  ui.invoke_callback(go);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].scalar(), go);
  EXPECT_TRUE(seen[1].is_empty());
  EXPECT_EQ(seen[2].text(), "word");
  EXPECT_EQ(object_during_call.scalar(), go);
  EXPECT_TRUE(ui.callback_object().is_empty());

  ui.invoke_callback(ui.find_by_tag("Bad").front());
  ASSERT_EQ(console.lines.size(), 1u);
  EXPECT_EQ(console.lines[0], "it broke");
  ASSERT_EQ(ui.message_boxes.size(), 1u);
  EXPECT_EQ(ui.message_boxes[0].title, "Error");
}

TEST(Layout, ABrokenLayoutLeavesNoWindowBehind) {
  HeadlessRuntime ui;
  EXPECT_THROW(build_layout(ui, "{", "bad"), Error);
  EXPECT_THROW(build_layout(ui, R"({"Figure": {}, "Controls": [{"Position": [1, "x"]}]})", "bad"), Error);
  EXPECT_TRUE(ui.figures().empty());
  EXPECT_THROW(ui.load_layout("NoSuchLayout.fig"), Error);
}

}  // namespace
}  // namespace lumivar::runtime
