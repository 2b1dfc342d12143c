#pragma once
// The top-level widget of a window ("figure"). It tells its owner when the
// user closes, moves, resizes or activates it; what that means for the object
// model is the owner's business.
#include <QWidget>
#include <functional>

class QWheelEvent;

namespace lumivar::runtime::qt {

struct FigureEvents {
  std::function<void()> closed;             // the user closed the window
  std::function<void()> geometry_changed;   // moved or resized
  std::function<void()> activated;          // became the active window
  // The wheel turned over the window's background or over a control that
  // takes no wheel (a label, a button); true when it was used.
  std::function<bool(QWheelEvent*)> wheel;
};

class FigureWidget : public QWidget {
 public:
  explicit FigureWidget(FigureEvents events);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  FigureEvents events_;
};

}  // namespace lumivar::runtime::qt
