// A long superimposition and distance matrix show their progress in the
// window: the passes of "VarExp" and "Permute" and the matrix's columns
// reach progress monitors of the window runtime (recorded by the headless
// one), which end before the permutations' own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/console.h"
#include "runtime/error.h"
#include "runtime/headless/headless_runtime.h"
#include "shell/application.h"

namespace lumivar::shell {
namespace {

std::string example(const std::string& name) { return std::string(LUMIVAR_EXAMPLES) + "/" + name; }

struct Study {
  Study() {
    ui.set_console(&quiet);
    app.table.call("Lumivar", {}, 0);
    for (const char* f : {"landmarks.txt", "reps.txt", "groups.txt"}) ui.queue_file(example(f));
    for (const char* word : {"Load", "LoadRepGroup", "LoadGroup"}) run(word);
  }
  void run(const std::string& word) { app.table.call("lumivarsw", {runtime::Value(word)}, 0); }
  std::vector<std::string> titles() const {
    std::vector<std::string> t;
    for (const auto& r : ui.progress_runs) t.push_back(r.title);
    return t;
  }
  std::string box(const char* tag) { return ui.get(ui.find_by_tag(tag).at(0), "String").text(); }

  runtime::RecordingConsole quiet;
  runtime::headless::HeadlessRuntime ui;
  Application app{ui};
};

TEST(SuperimpositionProgress, LargeStudiesReportEveryPassUpToTheEnd) {
  Study s;
  s.app.superimposition_progress_rows = 80;  // the example's 80 rows count as large
  s.run("VarExp");
  // Then the distance matrix, the other long step before the sums.
  ASSERT_EQ(s.titles(), (std::vector<std::string>{"Superimposition", "Distance matrix"}));
  const auto matrix = s.ui.progress_runs[1].updates;
  ASSERT_FALSE(matrix.empty());
  EXPECT_EQ(matrix.back(), (std::pair<std::size_t, std::size_t>{80, 80}));
  EXPECT_TRUE(s.ui.progress_runs[1].ended);
  const auto updates = s.ui.progress_runs[0].updates;  // a copy: more runs follow
  ASSERT_GE(updates.size(), 2u);  // a pass is reported as it ends, not only the end
  for (std::size_t i = 0; i < updates.size(); ++i) {
    EXPECT_EQ(updates[i].second, updates.back().second);
    if (i > 0) {
      EXPECT_GE(updates[i].first, updates[i - 1].first) << "went back at pass " << i + 1;
    }
    if (i + 1 < updates.size()) {
      EXPECT_LT(updates[i].first, updates[i].second);
    }
  }
  EXPECT_EQ(updates.back().first, updates.back().second);
  EXPECT_TRUE(s.ui.progress_runs[0].ended);

  // The superimposition's display is gone before the permutations' shows.
  s.ui.set(s.ui.find_by_tag("PermBox").at(0), "String", runtime::Value("20"));
  s.run("Permute");
  ASSERT_EQ(s.titles(), (std::vector<std::string>{"Superimposition", "Distance matrix", "Superimposition",
                                                   "Distance matrix", "Permutation test"}));
  EXPECT_TRUE(s.ui.progress_runs[2].ended);
  EXPECT_EQ(s.ui.progress_runs[2].updates.back(), updates.back());
  EXPECT_TRUE(s.ui.progress_runs[3].ended);  // the matrix's display is gone before the relabellings'
  EXPECT_EQ(s.ui.progress_runs[3].updates.back(), matrix.back());
}

TEST(SuperimpositionProgress, SmallStudiesShowNothingAndACancelKeepsTheResults) {
  Study s;
  s.run("VarExp");
  EXPECT_TRUE(s.ui.progress_runs.empty());  // 80 rows are well below the default
  const std::string results = s.box("ResBox");
  ASSERT_FALSE(results.empty());

  s.app.superimposition_progress_rows = 1;
  s.ui.cancel_progress_after = 1;
  EXPECT_THROW(s.run("VarExp"), runtime::Error);
  EXPECT_EQ(s.box("ResBox"), results);
  ASSERT_EQ(s.ui.progress_runs.size(), 1u);
  EXPECT_EQ(s.ui.progress_runs[0].updates.size(), 1u);  // stopped at the pass that was cancelled
  EXPECT_TRUE(s.ui.progress_runs[0].ended);
}

}  // namespace
}  // namespace lumivar::shell
