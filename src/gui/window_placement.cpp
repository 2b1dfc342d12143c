#include "gui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace lumivar::gui {

QRect fit_on_screen(const QRect& inner, const QMargins& frame, const QRect& available) {
  const int max_w = available.width() - frame.left() - frame.right();
  const int max_h = available.height() - frame.top() - frame.bottom();
  const int w = std::min(inner.width(), max_w);
  const int h = std::min(inner.height(), max_h);
  const int min_x = available.left() + frame.left();
  const int min_y = available.top() + frame.top();
  const int x = std::clamp(inner.x(), min_x, min_x + max_w - w);
  const int y = std::clamp(inner.y(), min_y, min_y + max_h - h);
  return {x, y, w, h};
}

QMargins frame_of(const QWidget* window) {
  const QRect outer = window->frameGeometry();
  const QRect inner = window->geometry();
  return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
          outer.bottom() - inner.bottom()};
}

QMargins expected_frame(const QWidget* window) {
  const QMargins frame = frame_of(window);
  if (!frame.isNull()) return frame;
  // Not shown yet, or shown before the window system framed it: allow for a
  // title bar and borders, except on platforms that draw none.
  const QString platform = QGuiApplication::platformName();
  if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) return frame;
  return {8, 32, 8, 8};
}

void place_on_screen(QWidget* window, const QRect& inner) {
  QScreen* screen = QGuiApplication::screenAt(inner.center());
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QSize smallest = window->minimumSize();
  QRect fitted = fit_on_screen(inner, expected_frame(window), screen->availableGeometry());
  fitted.setSize(fitted.size().expandedTo(smallest));  // a screen smaller than the minimum
  window->setGeometry(fitted);
}

}  // namespace lumivar::gui
