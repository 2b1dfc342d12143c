// A run of relabellings whose every relabelling takes long, reporting to the
// window's progress dialog: the dialog shows after its second, the program's
// events keep being processed while the run goes, and a click on Cancel stops
// the run part way through a relabelling.
#include <gtest/gtest.h>

#include <QProgressDialog>
#include <QTimer>
#include <atomic>
#include <chrono>

#include "geometry/allpairwiseprocrustes.h"
#include "permutation/design_fixtures.h"
#include "permutation/permutation_counts.h"
#include "permutation/stuck_engine.h"
#include "runtime/error.h"
#include "runtime/qt/progress_dialog.h"
#include "support/progress_dialogs.h"

namespace lumivar::gui {
namespace {

TEST(LongRunProgress, TheDialogShowsEventsFlowAndCancelStopsInsideARelabelling) {
  const testing::StudyDesign design = testing::balanced_study(2, 2, 2, 4, 3);
  const geometry::ProcrustesDistances fit = geometry::procrustes_distances(design.session.data, 1);
  const permutation::DesignData data{fit.xpt, fit.d, design.session.group, design.session.repgroup,
                                     design.sizes};
  const auto fast = permutation::make_engine(permutation::Engine::kFast, data);
  // Stands for the reference engine on a very large matrix: no relabelling
  // ends by itself while the test runs.
  const testing::StuckEngine stuck(*fast, std::chrono::seconds(60));

  runtime::qt::ProgressDialog dialog("Permutation test", nullptr);
  std::atomic<bool> cancel{false};
  permutation::RunPlan plan;
  plan.nperm = 999;
  plan.seed = 1;
  plan.threads = 2;
  plan.cancel = &cancel;
  plan.progress = [&](std::size_t done, std::size_t total) {
    if (!dialog.update(done, total)) cancel = true;
  };

  int ticks = 0;  // timer events processed while the run goes
  bool clicked = false;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    ++ticks;
    if (!clicked) clicked = testing::click_progress_cancel(true);  // only once it shows
  });
  timer.start(20);
  EXPECT_THROW(permutation::permutation_counts(stuck, design.sizes, plan), runtime::Cancelled);
  timer.stop();

  EXPECT_TRUE(clicked);  // the dialog showed and its Cancel was there to click
  EXPECT_GE(stuck.heard.load(), 1);  // heard inside a relabelling, not after one
  // The dialog waits a second before it shows; the caller processes events at
  // least every tenth of one meanwhile.
  EXPECT_GE(ticks, 5);
}

}  // namespace
}  // namespace lumivar::gui
