#include "window/openfig.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "runtime/function_table.h"
#include "runtime/headless/headless_runtime.h"
#include "support/error_message.h"
#include "window/by_name.h"

namespace lumivar::window {
namespace {

namespace fs = std::filesystem;
using runtime::Handle;
using runtime::kRoot;
using runtime::Matrix;
using runtime::Value;

// A window placed partly off a 1024 x 768 screen.
constexpr const char* kTiny =
    R"({"Figure": {"Name": "Tiny", "Position": [700, 600, 400, 300]},
        "Controls": [{"Style": "text", "Tag": "InfoBox"}]})";
constexpr const char* kHidden =
    R"({"Figure": {"Name": "Hidden", "Visible": "off", "Position": [10, 10, 200, 100]}})";

class OpenFig : public ::testing::Test {
 protected:
  void SetUp() override {
    runtime::WindowRuntime::register_builtin_layout("Tiny.fig", kTiny);
    runtime::WindowRuntime::register_builtin_layout("Hidden.fig", kHidden);
    ui.set(kRoot, "ScreenSize", Value(Matrix::row({1, 1, 1024, 768})));
  }
  Value list(const std::string& token) const { return ui.appdata(kRoot, token); }
  runtime::headless::HeadlessRuntime ui;
};

TEST_F(OpenFig, ReuseKeepsOneWindowUntilItIsClosed) {
  const Handle a = openfig(ui, "Tiny", "reuse");
  EXPECT_EQ(ui.figures(), std::vector<Handle>{a});
  EXPECT_EQ(list("Tiny_SINGLETON_handle"), Value(Matrix::row({a})));
  EXPECT_EQ(ui.get(a, "OuterPosition").matrix(), Matrix::row({624, 468, 400, 300}));  // on screen

  ui.set(a, "OuterPosition", Value(Matrix::row({900, 700, 400, 300})));
  ui.create("figure", kRoot);  // another window, now the current one
  EXPECT_EQ(openfig(ui, "Tiny.fig", "reuse"), a);
  EXPECT_EQ(ui.figures().size(), 2u);  // nothing loaded
  EXPECT_EQ(ui.get(a, "OuterPosition").matrix(), Matrix::row({624, 468, 400, 300}));
  EXPECT_EQ(ui.current_figure(), Value(a));  // visible, so raised again

  ui.close_figure(a);
  const Handle b = openfig(ui, "Tiny", "reuse");
  EXPECT_NE(b, a);
  EXPECT_EQ(list("Tiny_SINGLETON_handle"), Value(Matrix::row({b})));
}

TEST_F(OpenFig, NewAppendsAndReuseTakesTheNewest) {
  const Handle a = openfig(ui, "Tiny");
  const Handle b = openfig(ui, "Tiny", "new");
  const Handle c = openfig(ui, "Tiny.fig");
  EXPECT_TRUE(a != b && b != c && a != c);
  EXPECT_EQ(list("Tiny_SINGLETON_handle"), Value(Matrix::row({a, b, c})));
  EXPECT_EQ(openfig(ui, "Tiny", "reuse"), c);
  // Closed windows leave the list at the next call.
  ui.close_figure(c);
  ui.close_figure(a);
  EXPECT_EQ(openfig(ui, "Tiny", "reuse"), b);
  EXPECT_EQ(list("Tiny_SINGLETON_handle"), Value(Matrix::row({b})));
}

TEST_F(OpenFig, InvisibleWindowIsNeitherShownNorRaised) {
  const Handle hidden = openfig(ui, "Hidden", "reuse");
  const Handle front = openfig(ui, "Tiny", "reuse");
  EXPECT_EQ(openfig(ui, "Hidden", "reuse"), hidden);
  EXPECT_EQ(ui.current_figure(), Value(front));
  EXPECT_EQ(ui.get(hidden, "Visible"), Value("off"));
}

TEST_F(OpenFig, TokenIsCutAt31Characters) {
  const std::string name = "ABCDEFGHIJKLMNOPQRST";  // 20 characters
  runtime::WindowRuntime::register_builtin_layout(name + ".fig", kTiny);
  const Handle h = openfig(ui, name, "reuse");
  EXPECT_EQ(list("ABCDEFGHIJKLMNOPQRST_SINGLETON_"), Value(Matrix::row({h})));
  EXPECT_TRUE(list(name + "_SINGLETON_handle").is_empty());
  EXPECT_EQ(openfig(ui, name, "reuse"), h);
}

TEST_F(OpenFig, FolderAndExtensionOfTheFileName) {
  const fs::path dir = fs::path(::testing::TempDir()) / "lumivar_openfig.d";
  fs::create_directories(dir);
  std::ofstream(dir / "Disk.fig") << kTiny;
  const Handle h = openfig(ui, (dir / "Disk").string(), "reuse");  // a dot in the folder only
  EXPECT_EQ(ui.get(h, "Name"), Value("Tiny"));
  EXPECT_EQ(openfig(ui, (dir / "Disk.fig").string(), "reuse"), h);
  EXPECT_EQ(list("Disk_SINGLETON_handle"), Value(Matrix::row({h})));
  fs::remove_all(dir);
}

TEST_F(OpenFig, RefusedCallsLeaveTheListUnchanged) {
  const Handle a = openfig(ui, "Tiny", "reuse");
  ui.close_figure(openfig(ui, "Tiny", "new"));  // a dead entry stays until a call passes
  const Value before = list("Tiny_SINGLETON_handle");
  const std::size_t windows = ui.figures().size();
  EXPECT_ERROR_MSG(openfig(ui, "Tiny.txt", "reuse"), "Argument must be a .fig file");
  EXPECT_ERROR_MSG(openfig(ui, "Tiny.FIG", "reuse"), "Argument must be a .fig file");
  EXPECT_ERROR_MSG(openfig(ui, "Tiny", "Reuse"), "Second input argument must be 'new' or 'reuse'.");
  EXPECT_EQ(list("Tiny_SINGLETON_handle"), before);
  EXPECT_EQ(ui.figures().size(), windows);
  // A layout that cannot be found reaches the caller; the list is not touched either.
  EXPECT_ANY_THROW(openfig(ui, "NoSuchLayout", "new"));
  EXPECT_TRUE(list("NoSuchLayout_SINGLETON_handle").is_empty());
  EXPECT_EQ(openfig(ui, "Tiny", "reuse"), a);
}

TEST_F(OpenFig, ByName) {
  runtime::FunctionTable table;
  table.add(openfig_entry(ui));
  const Handle h = table.call("openfig", {Value("Tiny"), Value("reuse")}, 1).at(0).scalar();
  EXPECT_EQ(table.call("openfig", {Value("Tiny"), Value("reuse")}, 1).at(0), Value(h));
  auto message = [&](const runtime::Args& args, int nargout) {
    return testing::error_message([&] { table.call("openfig", args, nargout); });
  };
  EXPECT_EQ(message({}, 1), "Not enough input arguments.");
  EXPECT_EQ(message({Value("Tiny"), Value(1.0)}, 1),
            "Second input argument must be 'new' or 'reuse'.");
  EXPECT_EQ(message({Value("Tiny"), Value("new"), Value("x")}, 1),
            "Run-time Error: File: openfig Line: 1 Column: 1 The function \"openfig\" was called "
            "with more than the declared number of inputs (2).");
}

}  // namespace
}  // namespace lumivar::window
