#include "gui/window_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cmath>

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
  // At a fractional scale factor (1.5) the frame's edges are rounded to
  // whole logical pixels, either way: a pixel more keeps them on the screen.
  const qreal ratio = window->devicePixelRatioF();
  if (!frame.isNull()) return ratio == std::round(ratio) ? frame : frame + QMargins(1, 1, 1, 1);
  // Not shown yet, or shown before the window system framed it: allow for a
  // title bar and borders, except on platforms that draw none.
  const QString platform = QGuiApplication::platformName();
  if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) return frame;
  return {8, 32, 8, 8};
}

namespace {

// Until the window system has framed `window` its frame is a guess; a window
// manager with a taller title bar or a bottom handle would push the frame off
// the screen. Once the real frame is known (after the window is shown, moved,
// resized or activated), the window is fitted with it once, then this goes.
class RealFrameFit : public QObject {
 public:
  explicit RealFrameFit(QWidget* window) : QObject(window), window_(window) {
    window->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (watched == window_ && (type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize ||
                               type == QEvent::WindowActivate)) {
      if (!frame_of(window_).isNull()) {
        const QMargins frame = expected_frame(window_);
        window_->removeEventFilter(this);
        // Not from within the window's own event.
        QTimer::singleShot(0, window_, [w = window_, frame] { fit_frame_on_screen(w, frame); });
        deleteLater();
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QWidget* window_;
};

QScreen* screen_of(const QRect& inner) {
  QScreen* screen = QGuiApplication::screenAt(inner.center());
  return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}

// A layout's minimum larger than the room on the screen (a laptop at a
// scale factor of 2 has 683 x 384 of them) would push the title bar above
// the screen or the right edge past it, where the window manager cuts it
// off: the window may then be as small as the screen allows.
void fit_into(QWidget* window, const QRect& inner, const QMargins& frame, const QRect& available) {
  window->setMinimumSize(window->minimumSize().boundedTo(room_on_screen(frame, available)));
  window->setGeometry(fit_on_screen(inner, frame, available));
}

}  // namespace

void fit_frame_on_screen(QWidget* window, const QMargins& frame) {
  const QScreen* screen = screen_of(window->geometry());
  if (screen == nullptr) return;
  const QRect available = screen->availableGeometry();
  if (!available.contains(window->geometry().marginsAdded(frame)))
    fit_into(window, window->geometry(), frame, available);
}

void place_on_screen(QWidget* window, const QRect& inner) {
  const QScreen* screen = screen_of(inner);
  if (screen == nullptr) return;
  const QMargins frame = expected_frame(window);
  if (frame_of(window).isNull() && !frame.isNull()) new RealFrameFit(window);  // a guess so far
  fit_into(window, inner, frame, screen->availableGeometry());
}

QSize room_on_screen(const QMargins& frame, const QRect& available) {
  return {std::max(0, available.width() - frame.left() - frame.right()),
          std::max(0, available.height() - frame.top() - frame.bottom())};
}

}  // namespace lumivar::gui
