// The window's "VarExp" on a study whose distance matrix no longer fits
// beside the one the session keeps from the last analysis: the machine's
// shortage is played by lowering the address-space limit, as a shared
// machine would.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <fstream>

#include "address_space.h"
#include "input/study_files.h"
#include "partition/shapes_do_not_vary.h"
#include "partition/varexp.h"
#include "runtime/error.h"
#include "runtime/headless/headless_runtime.h"
#include "shell/application.h"
#include "support/error_message.h"
#include "support/temp_files.h"

namespace lumivar::shell {
namespace {

using runtime::Value;

// Bytes of address space the process uses now.
rlim_t address_space_used() {
  std::ifstream statm("/proc/self/statm");
  rlim_t pages = 0;
  statm >> pages;
  return pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
}

TEST(WindowMemory, ASecondMatrixThatDoesNotFitIsRefusedAndAutoTakesTheCoordinates) {
  if (!testing::address_space_can_be_limited()) GTEST_SKIP() << "built with AddressSanitizer";
  testing::KeepWorkingFolder keep;
  const testing::TempFolder folder;
  // 6,000 rows: a distance matrix of 8 x 6000^2 bytes = 0.29 GB.
  const testing::StudyFiles study = testing::write_study(folder, 3000);
  runtime::headless::HeadlessRuntime ui;
  runtime::RecordingConsole console;
  ui.set_console(&console);
  Application app(ui);
  app.table.call("Lumivar", {}, 0);
  const auto click = [&](const std::string& word, const std::string& file = {}) {
    if (!file.empty()) ui.queue_file(file);
    app.table.call("lumivarsw", {Value(word)}, 0);
  };
  const auto results = [&] { return ui.get(ui.find_by_tag("ResBox").front(), "String").text(); };
  click("Load", study.data);
  click("LoadRepGroup", study.reps);
  click("LoadGroup", study.groups);
  click("VarExp");
  const std::string report = results();
  ASSERT_EQ(report.rfind("For the entire data set", 0), 0u) << report;
  ASSERT_EQ(app.session.dmatrix.rows(), 6000u);

  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_AS, &saved), 0);
  rlimit tight = saved;
  tight.rlim_cur = address_space_used() + (150u << 20);  // room for 150 MB more, not 290
  ASSERT_EQ(setrlimit(RLIMIT_AS, &tight), 0);

  // Asked for the matrix, VarExp refuses up front, naming both sizes and the
  // previous matrix that stays in memory.
  partition::SumsSettings matrix;
  matrix.sums = partition::SumsMethod::kMatrix;
  const std::string text =
      testing::error_message([&] { partition::varexp(ui, app.session, matrix); });
  // The button, as the user clicks it: "auto" sees the matrix would not fit
  // and takes the sums from the coordinates instead.
  const std::size_t boxes = ui.message_boxes.size();
  for (runtime::Handle h : ui.find_by_tag("VarExpButton")) ui.invoke_callback(h);
  setrlimit(RLIMIT_AS, &saved);

  EXPECT_EQ(text.rfind("The distance matrix of 6000 rows of landmark data needs 0.3 GB of memory, "
                       "but this program can take only 0.",
                       0),
            0u)
      << text;
  EXPECT_NE(text.find(" GB more. The matrix of the previous analysis (0.3 GB) stays in memory "
                      "until the new one is complete, 0.6 GB in all."),
            std::string::npos)
      << text;
  // This study's specimens are all one shape: the one box says so (no error
  // box), and the coordinates print the matrix's table of NaN.
  ASSERT_EQ(ui.message_boxes.size(), boxes + 1);
  EXPECT_EQ(ui.message_boxes.back().text, partition::kShapesDoNotVaryText);
  EXPECT_EQ(results(), report);
  EXPECT_TRUE(app.session.dmatrix.empty());
}

}  // namespace
}  // namespace lumivar::shell
