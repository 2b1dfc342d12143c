#include "runtime/qt/progress_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QTest>

#include "runtime/qt/qt_window_runtime.h"

namespace lumivar::runtime::qt {
namespace {

TEST(ProgressDialog, SaysHowMuchIsDoneAndHowLongIsLeft) {
  EXPECT_EQ(progress_text(0, 999, -1), "0 of 999 done");
  EXPECT_EQ(progress_text(250, 999, 11.2), "250 of 999 done, about 12 s left");
  EXPECT_EQ(progress_text(250, 999, 65), "250 of 999 done, about 1 min 5 s left");
  EXPECT_EQ(progress_text(999, 999, 0), "999 of 999 done");
}

TEST(ProgressDialog, ACancelIsHeardAndTheDialogGoesWithTheMonitor) {
  QtWindowRuntime ui;
  std::unique_ptr<ProgressMonitor> monitor = ui.begin_progress("Permutation test");
  ASSERT_NE(monitor, nullptr);
  QPointer<QProgressDialog> dialog;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* d = dynamic_cast<QProgressDialog*>(w)) dialog = d;
  ASSERT_FALSE(dialog.isNull());
  EXPECT_EQ(dialog->windowTitle(), QString("Permutation test"));
  EXPECT_TRUE(monitor->update(10, 100));
  EXPECT_TRUE(dialog->labelText().startsWith("10 of 100 done"));
  EXPECT_EQ(dialog->value(), dialog->maximum() / 10);
  dialog->cancel();  // what the Cancel button does
  EXPECT_FALSE(monitor->update(11, 100));
  monitor.reset();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(dialog.isNull());
}

// A run that ends before its dialog is due leaves no dialog that shows itself
// later, while events are processed before the one it left is deleted (a
// later long run would otherwise get two dialogs, one of them stale).
TEST(ProgressDialog, AShortRunLeavesNoDialogBehind) {
  QtWindowRuntime ui;
  std::unique_ptr<ProgressMonitor> monitor = ui.begin_progress("Permutation test");
  EXPECT_TRUE(monitor->update(20, 20));
  monitor.reset();
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 800) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  for (QWidget* w : QApplication::topLevelWidgets())
    EXPECT_FALSE(dynamic_cast<QProgressDialog*>(w) != nullptr && w->isVisible());
}

TEST(ProgressDialog, ShowsOnlyOnceTheRunHasLastedASecond) {
  // Dialogs of earlier tests whose deletion is still pending would be found
  // below in hash order and then vanish during the wait.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QtWindowRuntime ui;
  std::unique_ptr<ProgressMonitor> monitor = ui.begin_progress("Permutation test");
  QPointer<QProgressDialog> dialog;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* d = dynamic_cast<QProgressDialog*>(w)) dialog = d;
  ASSERT_FALSE(dialog.isNull());
  EXPECT_TRUE(monitor->update(1, 1000));
  EXPECT_TRUE(monitor->update(900, 1000));  // fast enough to finish within the second
  EXPECT_FALSE(dialog->isVisible());
  QTest::qWait(1100);
  EXPECT_TRUE(monitor->update(901, 1000));
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_TRUE(dialog->isModal());
  monitor.reset();
}

}  // namespace
}  // namespace lumivar::runtime::qt
