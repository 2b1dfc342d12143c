#include "window/movegui.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "runtime/function_table.h"
#include "runtime/headless/headless_runtime.h"
#include "support/error_message.h"
#include "window/by_name.h"

namespace lumivar::window {
namespace {

using runtime::Handle;
using runtime::kRoot;
using runtime::List;
using runtime::Matrix;
using runtime::Value;

// Records what movegui does to the model while it works.
class WatchedRuntime : public runtime::headless::HeadlessRuntime {
 public:
  void flush() override { ++flushes; }
  int flushes = 0;
  std::vector<std::string> root_units;  // every value the root's Units was given
  Value units_when_written;             // the window's Units when OuterPosition was set

 protected:
  void on_property_set(Handle h, const std::string& name) override {
    if (h == kRoot && name == "units") root_units.push_back(get(kRoot, "Units").text());
    if (h != kRoot && name == "outerposition") units_when_written = get(h, "Units");
  }
};

class Placement : public ::testing::Test {
 protected:
  void SetUp() override {
    ui.set(kRoot, "ScreenSize", Value(Matrix::row({1, 1, 1024, 768})));
    fig = ui.create("figure", kRoot);
    child = ui.create("uicontrol", fig);
    ui.set(fig, "OuterPosition", Value(Matrix::row({700, 600, 400, 300})));
  }
  Matrix outer() const { return ui.get(fig, "OuterPosition").matrix(); }
  Matrix moved(const runtime::Args& args) {
    movegui(ui, args);
    return outer();
  }
  WatchedRuntime ui;
  Handle fig = 0, child = 0;
};

TEST_F(Placement, NamedAndNumericPositionsOnA1024By768Screen) {
  EXPECT_EQ(moved({Value(fig), Value("onscreen")}), Matrix::row({624, 468, 400, 300}));
  // Free room on this screen for a 400 x 300 window: 624 x 468.
  const struct {
    const char* name;
    double x, y;
  } places[] = {{"north", 312, 468},   {"south", 312, 0},       {"east", 624, 234},
                {"west", 0, 234},      {"northeast", 624, 468}, {"southeast", 624, 0},
                {"northwest", 0, 468}, {"southwest", 0, 0},     {"center", 312, 234}};
  for (const auto& p : places)
    EXPECT_EQ(moved({Value(fig), Value(p.name)}), Matrix::row({p.x, p.y, 400, 300})) << p.name;
  // Negative coordinates count from the right and top edges.
  EXPECT_EQ(moved({Value(fig), Value(Matrix::row({-10, -10}))}), Matrix::row({614, 458, 400, 300}));
  // Halves stay fractional: (1024 - 401) / 2.
  ui.set(fig, "OuterPosition", Value(Matrix::row({0, 0, 401, 300})));
  EXPECT_EQ(moved({Value("center"), Value(fig)}), Matrix::row({311.5, 234, 401, 300}));
  // A later argument of a kind replaces the earlier one; a child stands for its window.
  EXPECT_EQ(moved({Value("center"), Value(child), Value("southwest")}),
            Matrix::row({0, 0, 401, 300}));
}

TEST_F(Placement, DefaultsAndOversizeWindows) {
  EXPECT_EQ(moved({}), Matrix::row({624, 468, 400, 300}));  // current window, "onscreen"
  ui.set(fig, "OuterPosition", Value(Matrix::row({-50, 20, 1200, 300})));
  EXPECT_EQ(moved({Value(fig)}), Matrix::row({0, 20, 1024, 300}));
  ui.set(fig, "OuterPosition", Value(Matrix::row({10, 10, 1200, 900})));
  EXPECT_EQ(moved({Value(fig), Value("center")}), Matrix::row({0, 0, 1024, 768}));
}

TEST_F(Placement, InnerLargerThanOuterAddsTheFrameAtTheSameCorner) {
  // An inner rectangle reported 6 wider and 24 taller than the outer one.
  ui.set_frame_insets({-3, -3, -4, -20});
  ui.set(fig, "OuterPosition", Value(Matrix::row({700, 600, 400, 300})));
  ASSERT_EQ(ui.get(fig, "Position").matrix(), Matrix::row({697, 596, 406, 324}));
  EXPECT_EQ(moved({Value(fig), Value("onscreen")}), Matrix::row({624, 468, 406, 324}));
  ui.set(fig, "OuterPosition", Value(Matrix::row({700, 600, 400, 300})));
  EXPECT_EQ(moved({Value(fig), Value("southwest")}), Matrix::row({0, 0, 406, 324}));

  // Larger in one direction only, or an ordinary frame: no addition.
  ui.set_frame_insets({-3, -3, 2, 20});
  ui.set(fig, "OuterPosition", Value(Matrix::row({700, 600, 400, 300})));
  EXPECT_EQ(moved({Value(fig)}), Matrix::row({624, 468, 400, 300}));
  ui.set_frame_insets({1, 1, 1, 29});
  ui.set(fig, "OuterPosition", Value(Matrix::row({700, 600, 400, 300})));
  EXPECT_EQ(moved({Value(fig)}), Matrix::row({624, 468, 400, 300}));
  EXPECT_EQ(ui.get(fig, "Position").matrix(), Matrix::row({625, 469, 398, 270}));
}

TEST_F(Placement, MeasuresInPixelsAndRestoresUnits) {
  ui.set(fig, "Units", Value("normalized"));
  ui.set(fig, "ActivePositionProperty", Value("position"));
  ui.set(kRoot, "Units", Value("inches"));
  ui.root_units.clear();
  movegui(ui, {Value(fig), Value("center")});
  EXPECT_EQ(outer(), Matrix::row({312, 234, 400, 300}));
  EXPECT_EQ(ui.flushes, 1);
  EXPECT_EQ(ui.units_when_written, Value("pixels"));
  EXPECT_EQ(ui.root_units, (std::vector<std::string>{"pixels", "inches"}));
  EXPECT_EQ(ui.get(fig, "Units"), Value("normalized"));
  EXPECT_EQ(ui.get(fig, "ActivePositionProperty"), Value("position"));
  EXPECT_EQ(ui.get(kRoot, "Units"), Value("inches"));
}

TEST_F(Placement, BadArgumentsChangeNothing) {
  ui.set(fig, "Units", Value("normalized"));
  ASSERT_FALSE(ui.is_valid(5));
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_ERROR_MSG(movegui(ui, {Value(fig), Value("middle")}), "unrecognized position");
  EXPECT_ERROR_MSG(movegui(ui, {Value(fig), Value(5.0)}), "unrecognized input argument");
  EXPECT_ERROR_MSG(movegui(ui, {Value(nan)}), "unrecognized input argument");
  EXPECT_ERROR_MSG(movegui(ui, {Value(Matrix::row({1, 2, 3}))}), "unrecognized input argument");
  EXPECT_ERROR_MSG(movegui(ui, {Value(kRoot)}), "handle of figure or descendant required");
  EXPECT_ERROR_MSG(movegui(ui, {Value(fig), Value("center"), Value(fig), Value(fig)}),
            "Run-time Error: File: movegui Line: 1 Column: 1 The function \"movegui\" was called "
            "with more than the declared number of inputs (3).");
  EXPECT_EQ(outer(), Matrix::row({700, 600, 400, 300}));
  EXPECT_EQ(ui.get(fig, "Units"), Value("normalized"));
  EXPECT_EQ(ui.flushes, 0);

  // No window to move at all.
  ui.destroy(fig);
  EXPECT_ERROR_MSG(movegui(ui, {Value("center")}), "handle of figure or descendant required");
}

TEST_F(Placement, DuringACallbackTheSecondArgumentMayBeAnything) {
  runtime::FunctionTable table;
  table.add(movegui_entry(ui));
  ui.set_function_table(&table);
  runtime::RecordingConsole console;
  ui.set_console(&console);
  const Handle other = ui.create("figure", kRoot);  // now the current window
  ui.set(other, "OuterPosition", Value(Matrix::row({700, 600, 400, 300})));
  ASSERT_FALSE(ui.is_valid(5));

  ui.set(child, "Callback", Value(List({Value("movegui"), Value("$object"), Value(5.0)})));
  ui.invoke_callback(child);
  EXPECT_TRUE(ui.message_boxes.empty());
  EXPECT_EQ(outer(), Matrix::row({624, 468, 400, 300}));

  // Without a handle the callback's window moves, not the current one.
  ui.set(child, "Callback", Value(List({Value("movegui"), Value("southwest")})));
  ui.invoke_callback(child);
  EXPECT_EQ(outer(), Matrix::row({0, 0, 400, 300}));
  EXPECT_EQ(ui.get(other, "OuterPosition").matrix(), Matrix::row({700, 600, 400, 300}));

  // Only the second argument is excused.
  ui.set(child, "Callback", Value(List({Value("movegui"), Value(5.0)})));
  ui.invoke_callback(child);
  ASSERT_EQ(ui.message_boxes.size(), 1u);
  EXPECT_EQ(ui.message_boxes[0].text, "unrecognized input argument");
  EXPECT_EQ(console.lines, (std::vector<std::string>{"unrecognized input argument"}));
}

}  // namespace
}  // namespace lumivar::window
