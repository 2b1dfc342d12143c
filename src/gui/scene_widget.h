#pragma once
// A widget that shows one plots::Scene filling its area (scene_painter.h),
// or a line of text in its place when there is nothing to show yet.
// Hovering over a data point shows "row N, landmark J" as a tool tip and
// brings that row's whole configuration forward.
#include <QString>
#include <QWidget>
#include <cstddef>
#include <functional>
#include <optional>

#include "plots/plot_frame.h"
#include "plots/scene.h"

namespace lumivar::gui {

class SceneWidget : public QWidget {
 public:
  explicit SceneWidget(QWidget* parent = nullptr);

  void show_scene(plots::Scene scene);
  // Drops the scene and shows `text` centred instead.
  void show_message(const QString& text);

  // The scene shown; null while a message is shown.
  const plots::Scene* scene() const { return scene_ ? &*scene_ : nullptr; }
  const QString& message() const { return message_; }
  // Where the scene lies at the widget's current size.
  plots::PlotFrame frame() const;
  // The row under the mouse (1-based), brought forward; 0 when none.
  std::size_t highlighted_row() const { return highlighted_row_; }

  // Called when the point under the mouse changes: its index in
  // scene()->points, or none.
  std::function<void(std::optional<std::size_t>)> on_hover;

  // "row N, landmark J" for a point of the data ("row N" when it is no landmark).
  static QString point_text(const plots::ScenePoint& p);

  QSize sizeHint() const override { return {800, 600}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void hover(std::optional<std::size_t> point, const QPoint& global);

  std::optional<plots::Scene> scene_;
  QString message_;
  std::optional<std::size_t> hovered_;
  std::size_t highlighted_row_ = 0;
};

}  // namespace lumivar::gui
