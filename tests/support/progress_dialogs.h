#pragma once
// The user's side of a long action's progress dialog in the window tests:
// pressing its Cancel, and finding the box that then tells of the cancel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <atomic>

namespace lumivar::testing {

// Clicks Cancel on the first progress dialog among the top-level windows
// (only a visible one when `shown_only`); false when there is none.
inline bool click_progress_cancel(bool shown_only) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* dialog = dynamic_cast<QProgressDialog*>(w);
    if (dialog == nullptr || (shown_only && !dialog->isVisible())) continue;
    const QList<QPushButton*> buttons = dialog->findChildren<QPushButton*>();
    EXPECT_EQ(buttons.size(), 1);
    if (buttons.size() != 1) return false;
    EXPECT_EQ(buttons.front()->text(), "Cancel");
    buttons.front()->click();
    return true;
  }
  return false;
}

// Clicks Cancel on a progress dialog as soon as one exists, before the
// second it waits to show itself (the actions in these tests are short),
// from the events the long action lets through.
class CancelAtOnce {
 public:
  CancelAtOnce() {
    QObject::connect(&poll_, &QTimer::timeout, [this] {
      if (!clicked_) clicked_ = click_progress_cancel(false);
    });
    poll_.start(0);
  }
  // Stops watching; whether Cancel was clicked.
  bool stop() {
    poll_.stop();
    return clicked_;
  }

 private:
  QTimer poll_;
  bool clicked_ = false;
};

// Clicks Cancel on a progress dialog once it has shown itself (after its
// second), polling every 20 ms from the events the long action lets
// through; counts the polls, so a test can tell that events flowed.
class CancelOnceShown {
 public:
  CancelOnceShown() {
    QObject::connect(&poll_, &QTimer::timeout, [this] {
      ++ticks;
      if (!clicked) clicked = click_progress_cancel(true);
    });
    poll_.start(20);
  }
  void stop() { poll_.stop(); }

  std::atomic<bool> clicked{false};  // read by a step on another thread
  int ticks = 0;

 private:
  QTimer poll_;
};

// The visible box titled "Cancelled", or null. A cancel the user asked for
// is news, not a fault: no visible box may be titled "Error".
inline QMessageBox* cancelled_box() {
  QMessageBox* told = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* box = dynamic_cast<QMessageBox*>(w);
    if (box == nullptr || !box->isVisible()) continue;
    EXPECT_NE(box->windowTitle(), QString("Error"));
    if (box->windowTitle() == "Cancelled") told = box;
  }
  return told;
}

}  // namespace lumivar::testing
