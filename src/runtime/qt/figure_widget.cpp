#include "runtime/qt/figure_widget.h"

#include <QCloseEvent>
#include <QWheelEvent>

namespace lumivar::runtime::qt {

FigureWidget::FigureWidget(FigureEvents events) : events_(std::move(events)) {
  setAttribute(Qt::WA_QuitOnClose, false);  // the runtime decides when the program ends
}

void FigureWidget::closeEvent(QCloseEvent* event) {
  event->accept();
  if (events_.closed) events_.closed();
}

void FigureWidget::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (events_.geometry_changed) events_.geometry_changed();
}

void FigureWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (events_.geometry_changed) events_.geometry_changed();
}

void FigureWidget::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && events_.activated)
    events_.activated();
}

void FigureWidget::wheelEvent(QWheelEvent* event) {
  if (events_.wheel && events_.wheel(event)) return;
  QWidget::wheelEvent(event);
}

}  // namespace lumivar::runtime::qt
