// The main window on small screens: a laptop of 1366 x 768 pixels at a scale
// factor of 2 leaves about 667 x 344 for the window's inside. The controls
// keep the places of a form 420 high, which a scroll bar scrolls: none covers
// another, the status boxes and the results box keep room for several lines,
// scrolled to the end the results box's bottom is in the window, the wheel
// scrolls the form from the window's background and labels, and the
// controls come back to the layout's places at its own size.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QScreen>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStandardPaths>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>
#include <algorithm>
#include <map>
#include <string>

#include "gui/window_placement.h"
#include "support/desktop_window.h"
#include "support/temp_files.h"

namespace lumivar::gui {
namespace {

using runtime::Matrix;
using runtime::Value;

class MainWindowFit : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { QStandardPaths::setTestModeEnabled(true); }
  testing::TempFolder folder;
};

// The on-screen rectangle of each control of the layout, by tag.
std::map<std::string, QRect> control_rects(testing::DesktopWindow& w, runtime::Handle fig) {
  std::map<std::string, QRect> rects;
  for (runtime::Handle h : w.ui.tree(fig)) {
    if (h == fig) continue;
    const Value tag = w.ui.get(h, "Tag");
    if (tag.is_text() && w.ui.widget(h) != nullptr) rects[tag.text()] = w.ui.widget(h)->geometry();
  }
  return rects;
}

// Turns the wheel one notch towards the user at `pos` of `window`, as the
// window system delivers it: to the widget under the pointer, passed on to
// its parents while none takes it.
void wheel_down_at(QWidget* window, const QPoint& pos) {
  QWidget* under = window->childAt(pos);
  QWidget* target = under != nullptr ? under : window;
  const QPointF local = target->mapFrom(window, QPointF(pos));
  QWheelEvent wheel(local, window->mapToGlobal(QPointF(pos)), QPoint(), QPoint(0, -120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QSpontaneKeyEvent::setSpontaneous(&wheel);
  QApplication::instance()->notify(target, &wheel);
}

TEST_F(MainWindowFit, ALaptopAtTwiceTheScaleKeepsEveryControlUsable) {
  testing::DesktopWindow w(QString::fromStdString(folder.path() + "/settings.ini"));
  const runtime::Handle fig = w.ui.find_by_tag("LumivarWindow").at(0);
  const Matrix layout = w.ui.get(fig, "Position").matrix();
  const std::map<std::string, QRect> at_layout_size = control_rects(w, fig);

  // The window as place_on_screen leaves it on such a screen.
  w.ui.set(fig, "MinimumSize", Value(Matrix::row({100, 100})));
  w.ui.set(fig, "Position", Value(Matrix::row({0, 0, 667, 344})));
  QCoreApplication::processEvents();
  const std::map<std::string, QRect> rects = control_rects(w, fig);
  QWidget* window = w.ui.widget(fig);
  const QList<QScrollBar*> bars = window->findChildren<QScrollBar*>(Qt::FindDirectChildrenOnly);
  ASSERT_EQ(bars.size(), 1);
  QScrollBar* bar = bars.at(0);
  ASSERT_TRUE(bar->isVisibleTo(window));
  EXPECT_EQ(bar->maximum(), 420 - 344);
  EXPECT_EQ(bar->geometry().right(), 666);
  const QRect inside(0, 0, 667 - bar->width(), 420);  // the form, not scrolled
  const char* const frames[] = {"FilesFrame", "AnalysisFrame", "ResultsFrame"};
  for (const auto& [tag, r] : rects) {
    EXPECT_TRUE(inside.contains(r)) << tag << " at " << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
    EXPECT_GT(r.height(), 0) << tag;
    bool frame = false;
    for (const char* f : frames) frame = frame || tag == f;
    if (frame) continue;
    for (const auto& [other, o] : rects) {
      bool other_frame = false;
      for (const char* f : frames) other_frame = other_frame || other == f;
      if (other != tag && !other_frame) {
        EXPECT_FALSE(r.intersects(o)) << tag << " covers " << other;
      }
    }
  }
  // Room for text: a status box's three lines, four lines of the results.
  QWidget* results = w.ui.widget(w.ui.find_by_tag("ResBox").at(0));
  const int line = QFontMetrics(results->font()).lineSpacing();
  EXPECT_GE(rects.at("FileBox").height(), 3 * QFontMetrics(w.ui.widget(w.ui.find_by_tag("FileBox").at(0))->font()).lineSpacing());
  EXPECT_GE(rects.at("ResBox").height(), 4 * line);
  // Scrolled to the end, the results box ends inside the window.
  bar->setValue(bar->maximum());
  EXPECT_LE(results->geometry().bottom(), 344 - 1);
  EXPECT_EQ(results->geometry().top(), rects.at("ResBox").top() - bar->maximum());
  bar->setValue(0);

  // The wheel scrolls the form over the window's background and over a
  // label, which take no wheel themselves, by at least a line a notch.
  const QPoint background(window->width() / 2,
                          (rects.at("FilesFrame").bottom() + rects.at("AnalysisFrame").top()) / 2);
  const QPoint label = rects.at("PermLabel").center();
  ASSERT_EQ(window->childAt(background), nullptr);
  ASSERT_EQ(window->childAt(label), w.ui.widget(w.ui.find_by_tag("PermLabel").at(0)));
  for (const QPoint& at : {background, label}) {
    wheel_down_at(window, at);
    EXPECT_GE(bar->value(), std::min(bar->maximum(), window->fontMetrics().lineSpacing()))
        << "at " << at.x() << "," << at.y();
    bar->setValue(0);
  }

  // Back at the layout's size, every control is where the layout puts it,
  // and nothing scrolls.
  w.ui.set(fig, "Position", Value(layout));
  QCoreApplication::processEvents();
  EXPECT_EQ(control_rects(w, fig), at_layout_size);
  EXPECT_FALSE(bar->isVisibleTo(window));
}

// The frame the window system draws may be larger than the one guessed
// before the window was shown (a taller title bar, a handle along the
// bottom): fitted again with it, all of the frame is on the screen.
TEST_F(MainWindowFit, AWindowIsFittedAgainWithTheFrameItWasGiven) {
  const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
  const QMargins frame(1, 20, 1, 5);  // openbox's
  QWidget window;
  window.setMinimumSize(available.size());
  window.setGeometry(available.adjusted(0, 12, 0, 0));  // fitted for a title bar of 12, no handle
  fit_frame_on_screen(&window, frame);
  EXPECT_TRUE(available.contains(window.geometry().marginsAdded(frame)))
      << window.y() << " " << window.height();
  EXPECT_EQ(window.geometry(), available - frame);  // as large as the room allows

  // A frame that fits leaves the window where it is.
  const QRect inside(available.x() + 40, available.y() + 40, available.width() / 2, available.height() / 2);
  window.setMinimumSize(0, 0);
  window.setGeometry(inside);
  fit_frame_on_screen(&window, frame);
  EXPECT_EQ(window.geometry(), inside);
}

}  // namespace
}  // namespace lumivar::gui
