#include "gui/scene_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "plots/draw_scene.h"
#include "plots/palette.h"
#include "gui/scene_painter.h"

namespace lumivar::gui {

SceneWidget::SceneWidget(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);  // hover without a button pressed
  setMinimumSize(320, 240);
  setAttribute(Qt::WA_OpaquePaintEvent);  // the painter fills every pixel
}

void SceneWidget::show_scene(plots::Scene scene) {
  scene_ = std::move(scene);
  message_.clear();
  hover(std::nullopt, {});
  update();
}

void SceneWidget::show_message(const QString& text) {
  scene_.reset();
  message_ = text;
  hover(std::nullopt, {});
  update();
}

plots::PlotFrame SceneWidget::frame() const {
  static const plots::Scene kEmpty;
  return plots::PlotFrame(scene_ ? *scene_ : kEmpty, width(), height());
}

QString SceneWidget::point_text(const plots::ScenePoint& p) {
  return QString::fromStdString(plots::point_text(p));
}

void SceneWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (scene_) {
    paint_scene(painter, *scene_, frame(), highlighted_row_);
    return;
  }
  const plots::Colour bg = plots::kBackground;
  painter.fillRect(rect(), QColor(bg.r, bg.g, bg.b));
  painter.setPen(palette().color(QPalette::PlaceholderText));
  painter.drawText(rect().adjusted(24, 24, -24, -24), Qt::AlignCenter | Qt::TextWordWrap, message_);
}

void SceneWidget::mouseMoveEvent(QMouseEvent* event) {
  std::optional<std::size_t> point;
  if (scene_) {
    const QPointF at = event->position();
    point = plots::point_at(*scene_, frame(), {at.x(), at.y()});
  }
  hover(point, event->globalPosition().toPoint());
  QWidget::mouseMoveEvent(event);
}

void SceneWidget::leaveEvent(QEvent* event) {
  hover(std::nullopt, {});
  QWidget::leaveEvent(event);
}

void SceneWidget::hover(std::optional<std::size_t> point, const QPoint& global) {
  if (point == hovered_) return;
  hovered_ = point;
  const std::size_t row = point ? scene_->points[*point].row : 0;
  if (point)
    QToolTip::showText(global, point_text(scene_->points[*point]), this);
  else
    QToolTip::hideText();
  if (row != highlighted_row_) {
    highlighted_row_ = row;
    update();
  }
  if (on_hover) on_hover(point);
}

}  // namespace lumivar::gui
