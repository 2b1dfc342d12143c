// Long runs reporting to the window's progress dialog: a run of relabellings
// whose every relabelling takes long, and a step beside the window's thread
// that is busy for long between two reports. The dialog shows after its
// second, the program's events keep being processed while the run goes, and
// a click on Cancel stops the run part way through.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "geometry/allpairwiseprocrustes.h"
#include "permutation/design_fixtures.h"
#include "permutation/permutation_counts.h"
#include "permutation/stuck_engine.h"
#include "runtime/error.h"
#include "runtime/progress_relay.h"
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

  testing::CancelOnceShown user;
  EXPECT_THROW(permutation::permutation_counts(stuck, design.sizes, plan), runtime::Cancelled);
  user.stop();

  EXPECT_TRUE(user.clicked);  // the dialog showed and its Cancel was there to click
  EXPECT_GE(stuck.heard.load(), 1);  // heard inside a relabelling, not after one
  // The dialog waits a second before it shows; the caller processes events at
  // least every tenth of one meanwhile.
  EXPECT_GE(user.ticks, 5);
}

TEST(LongRunProgress, AStepBesideTheWindowShowsItsDialogAndHearsCancelWhileBusy) {
  runtime::ProgressRelay relay([](const std::string& title) {
    return std::make_unique<runtime::qt::ProgressDialog>(title, nullptr);
  });
  const runtime::ProgressOpener open = relay.opener();
  testing::CancelOnceShown user;
  bool answer_after_busy = true;
  EXPECT_THROW(relay.run([&] {
                 auto monitor = open("Distance matrix");
                 monitor->update(0, 2);
                 // One batch that stands for minutes of work: it reports nothing
                 // until the click (a minute at most, should the dialog never show).
                 const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
                 while (!user.clicked && std::chrono::steady_clock::now() < give_up)
                   std::this_thread::sleep_for(std::chrono::milliseconds(5));
                 answer_after_busy = monitor->update(1, 2);
                 if (!answer_after_busy) runtime::raise_cancelled("The matrix was cancelled.");
               }),
               runtime::Cancelled);
  user.stop();

  EXPECT_TRUE(user.clicked);  // the dialog showed while the step reported nothing
  EXPECT_FALSE(answer_after_busy);  // the step's next report heard the cancel
  EXPECT_GE(user.ticks, 5);  // the window's events flowed meanwhile
}

}  // namespace
}  // namespace lumivar::gui
