#include "window/guihandles.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "runtime/function_table.h"
#include "runtime/headless/headless_runtime.h"
#include "support/error_message.h"
#include "window/by_name.h"
#include "window/guidata.h"

namespace lumivar::window {
namespace {

using runtime::Handle;
using runtime::kRoot;
using runtime::Matrix;
using runtime::Value;

constexpr const char* kNotInWindow = "H must be the handle to a figure or figure descendent.";

class Registry : public ::testing::Test {
 protected:
  Handle control(Handle parent, const Value& tag) {
    const Handle h = ui.create("uicontrol", parent);
    ui.set(h, "Tag", tag);
    return h;
  }
  runtime::headless::HeadlessRuntime ui;
};

TEST_F(Registry, OneFieldPerIdentifierTagInFirstMetOrder) {
  const Handle fig = ui.create("figure", kRoot);
  ui.set(fig, "Tag", Value("MainWin"));
  const Handle panel = ui.create("uipanel", fig);
  const Handle res1 = control(panel, Value("ResBox"));  // listed before res2: the panel comes first
  const Handle file = control(fig, Value("FileBox"));
  const Handle res2 = control(fig, Value("ResBox"));
  const Handle a1 = control(fig, Value("a_1"));
  const Handle longest = control(fig, Value(std::string(31, 'q')));
  for (const char* bad : {"2nd", "my box", "end", ""}) control(fig, Value(bad));
  control(fig, Value(std::string(32, 'q')));
  control(fig, Value(4.0));     // a tag that is no text
  ui.create("uicontrol", fig);  // no tag at all

  const Value handles = guihandles(ui, Value(res1));
  ASSERT_TRUE(handles.is_record());
  const runtime::Record& r = handles.record();
  EXPECT_EQ(r.names(), (std::vector<std::string>{"MainWin", "ResBox", "FileBox", "a_1",
                                                 std::string(31, 'q')}));
  EXPECT_EQ(r.get("MainWin"), Value(Matrix::row({fig})));
  EXPECT_EQ(r.get("ResBox"), Value(Matrix::row({res1, res2})));
  EXPECT_EQ(r.get("FileBox"), Value(Matrix::row({file})));
  EXPECT_EQ(r.get("a_1"), Value(Matrix::row({a1})));
  EXPECT_EQ(r.get(std::string(31, 'q')), Value(Matrix::row({longest})));

  // The same table from the window itself, from the panel, and as the current window.
  EXPECT_EQ(guihandles(ui, Value(fig)), handles);
  EXPECT_EQ(guihandles(ui, Value(panel)), handles);
  EXPECT_EQ(guihandles(ui), handles);
}

TEST_F(Registry, NoQualifyingTagGivesAnEmptyMatrix) {
  EXPECT_EQ(guihandles(ui), Value(Matrix()));  // no window open
  const Handle fig = ui.create("figure", kRoot);
  control(fig, Value("9lives"));
  EXPECT_EQ(guihandles(ui, Value(fig)), Value(Matrix()));
}

TEST_F(Registry, HandleOutsideAWindowIsRefused) {
  const Handle fig = ui.create("figure", kRoot);
  const Handle c = control(fig, Value("FileBox"));
  const Handle gone = control(fig, Value("Gone"));
  ui.destroy(gone);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const Value& h : {Value(kRoot), Value(Matrix::row({fig, c})), Value(Matrix()), Value(gone),
                         Value(nan), Value("FileBox")}) {
    EXPECT_EQ(testing::error_message([&] { guihandles(ui, h); }), kNotInWindow);
    EXPECT_EQ(testing::error_message([&] { guidata(ui, h); }), kNotInWindow);
    EXPECT_EQ(testing::error_message([&] { guidata(ui, h, Value(1.0)); }), kNotInWindow);
  }
  EXPECT_TRUE(ui.appdata(kRoot, "UsedByGUIData_m").is_empty());
}

TEST_F(Registry, GuidataStoresOnTheWindowAndFetchesFromAnyDescendant) {
  const Handle fig = ui.create("figure", kRoot);
  const Handle panel = ui.create("uipanel", fig);
  const Handle c = control(panel, Value("ResBox"));
  const Handle other = ui.create("figure", kRoot);
  EXPECT_EQ(guidata(ui, Value(c)), Value(Matrix()));  // nothing stored yet

  guidata(ui, Value(fig), Value("first"));
  guidata(ui, Value(c), guihandles(ui, Value(fig)));  // replaces "first"
  EXPECT_EQ(guidata(ui, Value(panel)), guihandles(ui, Value(fig)));
  EXPECT_EQ(ui.appdata(fig, "UsedByGUIData_m"), guihandles(ui, Value(fig)));
  EXPECT_EQ(guidata(ui, Value(other)), Value(Matrix()));  // each window has its own
}

TEST_F(Registry, ByNameCountsAndTheRefusedStore) {
  runtime::FunctionTable table;
  table.add(guidata_entry(ui));
  table.add(guihandles_entry(ui));
  const Handle fig = ui.create("figure", kRoot);
  const Handle c = control(fig, Value("PermBox"));
  auto message = [&](const char* name, const runtime::Args& args, int nargout) {
    return testing::error_message([&] { table.call(name, args, nargout); });
  };

  EXPECT_EQ(message("guidata", {Value(c), Value(7.0)}, 1),
            "Run-time Error: File: guidata Line: 1 Column: 1 The function \"guidata\" was called "
            "with more than the declared number of outputs (0).");
  EXPECT_TRUE(ui.appdata(fig, "UsedByGUIData_m").is_empty());  // refused before storing
  EXPECT_EQ(message("guidata", {Value(c), Value(7.0), Value(8.0)}, 0),
            "Run-time Error: File: guidata Line: 1 Column: 1 The function \"guidata\" was called "
            "with more than the declared number of inputs (2).");
  EXPECT_EQ(message("guidata", {}, 1), "Not enough input arguments.");
  EXPECT_EQ(message("guihandles", {Value(c), Value(c)}, 1),
            "Run-time Error: File: guihandles Line: 1 Column: 1 The function \"guihandles\" was "
            "called with more than the declared number of inputs (1).");

  table.call("guidata", {Value(c), Value(7.0)}, 0);
  EXPECT_EQ(table.call("guidata", {Value(fig)}, 1).at(0), Value(7.0));
  EXPECT_EQ(table.call("guihandles", {}, 1).at(0).record().get("PermBox"), Value(Matrix::row({c})));
}

}  // namespace
}  // namespace lumivar::window
