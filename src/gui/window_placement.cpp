#include "gui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace lumivar::gui {

QRect fit_on_screen(const QRect& inner, const QMargins& frame, const QRect& available) {
  const QSize room = room_on_screen(frame, available);
  const int max_w = room.width();
  const int max_h = room.height();
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
  const QMargins frame = expected_frame(window);
  const QRect available = screen->availableGeometry();
  // A layout's minimum larger than the room on the screen (a laptop at a
  // scale factor of 2 has 683 x 384 of them) would push the title bar above
  // the screen or the right edge past it, where the window manager cuts it
  // off: the window may then be as small as the screen allows.
  window->setMinimumSize(window->minimumSize().boundedTo(room_on_screen(frame, available)));
  window->setGeometry(fit_on_screen(inner, frame, available));
}

QSize room_on_screen(const QMargins& frame, const QRect& available) {
  return {std::max(0, available.width() - frame.left() - frame.right()),
          std::max(0, available.height() - frame.top() - frame.bottom())};
}

}  // namespace lumivar::gui
