#pragma once
// The top-level widget of a window ("figure"). It tells its owner when the
// user closes, moves, resizes or activates it; what that means for the object
// model is the owner's business.
#include <QWidget>
#include <functional>

namespace lumivar::runtime::qt {

struct FigureEvents {
  std::function<void()> closed;             // the user closed the window
  std::function<void()> geometry_changed;   // moved or resized
  std::function<void()> activated;          // became the active window
};

class FigureWidget : public QWidget {
 public:
  explicit FigureWidget(FigureEvents events);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  FigureEvents events_;
};

}  // namespace lumivar::runtime::qt
