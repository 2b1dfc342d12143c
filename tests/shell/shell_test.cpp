#include <gtest/gtest.h>

#include <algorithm>

#include "geometry/allpairwiseprocrustes.h"
#include "runtime/error.h"
#include "runtime/headless/headless_runtime.h"
#include "shell/Lumivar.h"
#include "shell/Lumivar_mainhg.h"
#include "shell/application.h"
#include "shell/lumivarsw.h"
#include "support/error_message.h"
#include "support/temp_files.h"

namespace lumivar::shell {
namespace {

using runtime::Matrix;
using runtime::Value;
using runtime::headless::HeadlessRuntime;

class Shell : public ::testing::Test {
 protected:
  Shell() : app(ui) {
    ui.set_console(&console);
    fig = app.table.call("Lumivar", {}, 1).at(0).scalar();
  }
  std::string box(const char* tag) { return ui.get(ui.find_by_tag(tag).front(), "String").text(); }
  void dispatch(const std::string& word) { app.table.call("lumivarsw", {Value(word)}, 0); }

  testing::KeepWorkingFolder keep;
  testing::TempFolder files;
  HeadlessRuntime ui;
  runtime::RecordingConsole console;
  Application app;
  double fig = 0;
};

TEST_F(Shell, TheMainWindowOpensOnceWithItsBoxesAndHandlesTable) {
  for (const char* tag : {"FileBox", "RepBox", "GroupBox", "ResBox", "PermBox"}) {
    EXPECT_EQ(ui.find_by_tag(tag).size(), 1u) << tag;
  }
  EXPECT_EQ(app.table.call("Lumivar", {}, 1).at(0).scalar(), fig);  // reused, not a second window
  EXPECT_EQ(ui.figures().size(), 1u);
  EXPECT_EQ(ui.get(fig, "Color"), ui.get(runtime::kRoot, "defaultUicontrolBackgroundColor"));
  const Value handles = ui.appdata(fig, "UsedByGUIData_m");
  ASSERT_TRUE(handles.is_record());
  EXPECT_EQ(handles.record().get("ResBox").scalar(), ui.find_by_tag("ResBox").front());
  // Five command controls, each sending its action word to the dispatcher.
  std::vector<std::string> words;
  for (runtime::Handle h : ui.tree(fig)) {
    const Value cb = ui.get(h, "Callback");
    if (cb.is_list() && cb.list().items().front().text() == "lumivarsw")
      words.push_back(cb.list().items().at(1).text());
  }
  EXPECT_EQ(words, (std::vector<std::string>{"Load", "LoadRepGroup", "LoadGroup", "VarExp", "Permute"}));
}

TEST_F(Shell, TheDispatcherMatchesActionWordsExactly) {
  for (const char* word : {"load", "Load ", "VARExp", ""}) {
    dispatch(word);
  }
  app.table.call("lumivarsw", {Value(3.0)}, 0);
  ASSERT_EQ(ui.message_boxes.size(), 5u);
  for (const auto& b : ui.message_boxes) {
    EXPECT_EQ(b.text, "Fell through case");
    EXPECT_EQ(b.title, "Alas, Woe!");
  }
  EXPECT_TRUE(ui.dialog_titles.empty());  // no action ran
  EXPECT_TRUE(app.session.data.empty());

  ui.queue_cancel();
  dispatch("Load");
  EXPECT_EQ(ui.dialog_titles.size(), 1u);

  EXPECT_ERROR_MSG(app.table.call("lumivarsw", {Value("Load"), Value("x")}, 0), "Run-time Error: File: lumivarsw Line: 1 Column: 1 The function \"lumivarsw\" was called with more than the declared number of inputs (1).");
  EXPECT_THROW(app.table.call("lumivarsw", {Value("Load")}, 1), runtime::Error);
  EXPECT_THROW(app.table.call("lumivarsw", {}, 0), runtime::Error);
}

TEST_F(Shell, LoadingNewLandmarksKeepsTheCodesOfEarlierLoads) {
  ui.queue_file(files.write("a.txt", "0 0 1 0 0 1 1\n0 0 2 0 0 2 2\n"));
  dispatch("Load");
  ui.queue_file(files.write("r.txt", "1\n2\n"));
  dispatch("LoadRepGroup");
  ui.queue_file(files.write("g.txt", "1 1\n"));
  dispatch("LoadGroup");
  const runtime::Session before = app.session;
  ui.queue_file(files.write("b.txt", "0 0 3 0 0 3 3\n0 0 4 0 0 4 4\n0 0 1 1 1 0 5\n"));
  dispatch("Load");
  EXPECT_EQ(app.session.data.rows(), 3u);
  EXPECT_EQ(app.session.repgroup, before.repgroup);
  EXPECT_EQ(app.session.group, before.group);
  EXPECT_EQ(app.session.nfound, before.nfound);
  EXPECT_EQ(app.session.nrep, before.nrep);
  EXPECT_EQ(app.session.n1g, before.n1g);
  EXPECT_EQ(app.session.n2g, before.n2g);
  EXPECT_EQ(box("FileBox"), "File: b.txt \n   3 Specimens \n   3 Landmarks");
}

TEST_F(Shell, TheSwitchyardRunsNamedFunctionsAndKeepsTheirErrorsToTheConsole) {
  const runtime::Results none = app.table.call("Lumivar", {Value("FileBox_Callback"), Value(1.0), Value(), Value()}, 0);
  EXPECT_TRUE(none.empty());
  EXPECT_EQ(console.lines, (std::vector<std::string>{"FileBox Callback not implemented yet."}));
  // Box callbacks are local to the window function.
  EXPECT_THROW(app.table.call("PermBox_Callback", {}, 0), runtime::Error);

  app.table.call("Lumivar", {Value("nosuchfunction")}, 0);
  EXPECT_EQ(console.lines.back(), "Undefined function 'nosuchfunction'.");
  const runtime::Results r = app.table.call("Lumivar", {Value("mergegroups"), Value(Matrix::column({1, 2})),
                                               Value(Matrix::column({0, 1}))}, 1);
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0].matrix(), Matrix::column({2, 5}));
  EXPECT_TRUE(app.table.call("Lumivar", {Value(4.0)}, 0).empty());
  EXPECT_TRUE(ui.message_boxes.empty());
}

TEST_F(Shell, AnErrorEscapingACommandReachesConsoleAndAnErrorBoxAndTheWindowStaysUsable) {
  const runtime::Handle varexp_button = ui.find_by_tag("VarExpButton").front();
  ui.set_string_by_tag("ResBox", "kept");
  ui.invoke_callback(varexp_button);  // nothing loaded
  ASSERT_EQ(ui.message_boxes.size(), 1u);
  EXPECT_EQ(ui.message_boxes[0].title, "Error");
  EXPECT_EQ(console.lines.back(), ui.message_boxes[0].text);
  EXPECT_EQ(box("ResBox"), "kept");
  ui.invoke_callback(ui.find_by_tag("PermBox").front());
  EXPECT_EQ(console.lines.back(), "PermBox Callback not implemented yet.");
}

TEST_F(Shell, ACompletedAnalysisBecomesTheLastAnalysisAndIsAnnounced) {
  int announced = 0;
  app.on_analysis_changed = [&] { ++announced; };
  EXPECT_THROW(dispatch("VarExp"), runtime::Error);  // nothing loaded: nothing kept
  EXPECT_EQ(announced, 0);
  EXPECT_EQ(app.last_analysis, nullptr);

  const std::string examples = LUMIVAR_EXAMPLES;
  for (const auto& [file, word] : {std::pair{"/landmarks.txt", "Load"}, std::pair{"/reps.txt", "LoadRepGroup"},
                                   std::pair{"/groups.txt", "LoadGroup"}}) {
    ui.queue_file(examples + file);
    dispatch(word);
  }
  dispatch("VarExp");
  ASSERT_EQ(announced, 1);
  ASSERT_NE(app.last_analysis, nullptr);
  const AnalysisSnapshot& v = *app.last_analysis;
  EXPECT_EQ(v.kind, AnalysisKind::kVarExp);
  EXPECT_EQ(v.data, app.session.data);
  const std::size_t m = app.session.data.rows(), mg = app.session.group.rows();
  ASSERT_EQ(v.g2.numel(), m);
  EXPECT_EQ(v.g2(mg + 3), app.session.group(3, 2));  // codes of row mg + j are those of specimen j
  EXPECT_EQ(v.t, app.session.repgroup.row_range(1, m));
  // The kept superimposition is the one the stored distances came from.
  EXPECT_EQ(geometry::squared_distances(v.xpt), app.session.dmatrix);
  EXPECT_EQ(v.consensus.cols(), app.session.data.cols());
  EXPECT_TRUE(v.permutation.counts.f_values.empty());

  app.permute_settings.seed = 7;
  ui.set_string_by_tag("PermBox", "99");
  dispatch("Permute");
  ASSERT_EQ(announced, 2);
  const std::shared_ptr<const AnalysisSnapshot> p = app.last_analysis;
  EXPECT_EQ(p->kind, AnalysisKind::kPermute);
  EXPECT_EQ(p->permutation.plan.nperm, 99u);
  ASSERT_EQ(p->permutation.counts.f_values.size(), 99u);
  // The kept F values tell the same P values as the report.
  for (int k = 0; k < 7; ++k) {
    const std::vector<double> f = p->f_values_of(k);
    const auto above = std::count_if(f.begin(), f.end(), [&](double x) { return x > p->observed_f(k); });
    EXPECT_EQ((1.0 + static_cast<double>(above)) / 100, p->permutation.p_perm_f[k]) << "effect " << k;
  }

  // A refusal and a cancelled run keep the last analysis.
  ui.set_string_by_tag("PermBox", "many");
  dispatch("Permute");
  ui.set_string_by_tag("PermBox", "100000");
  ui.cancel_progress_after = 1;
  ui.set_string_by_tag("ResBox", "kept");
  EXPECT_THROW(dispatch("Permute"), runtime::Error);
  EXPECT_EQ(box("ResBox"), "kept");
  EXPECT_EQ(ui.progress_runs.size(), 2u);
  EXPECT_EQ(announced, 2);
  EXPECT_EQ(app.last_analysis, p);
}

TEST(ShellTable, ListsTheCallableFunctionsInTheirFixedOrder) {
  HeadlessRuntime ui;
  Application app(ui);
  std::vector<std::string> names;
  for (const auto& e : app.table.entries()) names.push_back(e.name);
  EXPECT_EQ(names, (std::vector<std::string>{
                       "Lumivar", "lumivarsw", "guidata", "guihandles", "openfig",
                       "allpairwiseprocrustes", "fcdf", "getcodecount", "getssgroup", "getsstotal",
                       "mergegroups", "mfload", "isvarname", "movegui", "getconsensus", "chi2cdf",
                       "distchck", "dload", "iskeyword", "centpos", "centsize", "gamcdf"}));
}

TEST(ShellEntry, RunsTheWindowFunctionWithTheCommandLineWords) {
  HeadlessRuntime ui;
  runtime::RecordingConsole console;
  ui.set_console(&console);
  EXPECT_EQ(Lumivar_mainhg(ui, {"GroupBox_Callback"}), 0);
  EXPECT_EQ(console.lines, (std::vector<std::string>{"GroupBox Callback not implemented yet."}));
  EXPECT_TRUE(ui.figures().empty());
  EXPECT_EQ(Lumivar_mainhg(ui, {}), 0);
  EXPECT_EQ(ui.figures().size(), 1u);
}

TEST(ShellEntry, CallsTheStartHookOnceTheMainWindowIsOpen) {
  HeadlessRuntime ui;
  runtime::RecordingConsole console;
  ui.set_console(&console);
  int calls = 0;
  EXPECT_EQ(Lumivar_mainhg(ui, {}, [&](Application& app) {
              ++calls;
              EXPECT_EQ(&app.ui, &ui);
              EXPECT_EQ(ui.find_by_tag("ResBox").size(), 1u);
              EXPECT_EQ(app.last_analysis, nullptr);
            }), 0);
  EXPECT_EQ(calls, 1);

  HeadlessRuntime failing;
  failing.set_console(&console);
  EXPECT_EQ(Lumivar_mainhg(failing, {}, [](Application&) { runtime::raise("No menu today."); }), 0);
  ASSERT_EQ(failing.message_boxes.size(), 1u);
  EXPECT_EQ(failing.message_boxes[0].text, "No menu today.");
  EXPECT_EQ(failing.message_boxes[0].title, "Error");
}

}  // namespace
}  // namespace lumivar::shell
