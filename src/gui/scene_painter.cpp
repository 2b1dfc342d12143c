#include "gui/scene_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <vector>

#include "plots/canvas.h"
#include "plots/draw_scene.h"

namespace lumivar::gui {

namespace {

using plots::Colour;
using plots::Point2;

QColor colour(Colour c, double opacity = 1) {
  QColor q(c.r, c.g, c.b);
  q.setAlphaF(static_cast<float>(opacity));
  return q;
}

QPointF at(Point2 p) { return {p.x, p.y}; }

QRectF rect(const plots::PixelRect& r) { return {r.left, r.top, r.width, r.height}; }

// The face the SVG writer names first; Qt falls back to the system's sans
// serif when it is missing.
QFont font(double size_px, bool bold) {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setStyleHint(QFont::SansSerif);
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(size_px))));
  f.setBold(bold);
  return f;
}

// A line's pen: the dash lengths are in pixels, Qt's in pen widths.
QPen pen(const plots::LineStyle& style) {
  QPen pen(colour(style.colour), style.width_px, Qt::SolidLine, style.rounded ? Qt::RoundCap : Qt::FlatCap,
           style.rounded ? Qt::RoundJoin : Qt::MiterJoin);
  if (style.dashed) pen.setDashPattern({plots::kDashPx / style.width_px, plots::kGapPx / style.width_px});
  return pen;
}

class PainterCanvas final : public plots::Canvas {
 public:
  explicit PainterCanvas(QPainter& painter) : p_(painter) {}

  void clear(double width, double height, Colour c) override {
    p_.fillRect(QRectF(0, 0, width, height), colour(c));
  }

  void frame(const plots::PixelRect& r, Colour c) override {
    p_.setPen(QPen(colour(c), 1));
    p_.setBrush(Qt::NoBrush);
    p_.drawRect(rect(r));
  }

  void box(const plots::PixelRect& r, Colour fill, Colour edge, double edge_px, plots::Extent) override {
    p_.setPen(QPen(colour(edge), edge_px));
    p_.setBrush(colour(fill));
    p_.drawRect(rect(r));
  }

  void line(Point2 a, Point2 b, const plots::LineStyle& style) override {
    p_.setPen(pen(style));
    p_.drawLine(at(a), at(b));
  }

  void polyline(const std::vector<Point2>& points, bool closed, const plots::LineStyle& style) override {
    QPolygonF polygon;
    for (const Point2& q : points) polygon << at(q);
    p_.setPen(pen(style));
    p_.setBrush(Qt::NoBrush);
    if (closed)
      p_.drawPolygon(polygon);
    else
      p_.drawPolyline(polygon);
  }

  void disc(Point2 centre, double radius, Colour fill, double opacity, const std::string&,
            plots::Extent) override {
    p_.setPen(Qt::NoPen);
    p_.setBrush(colour(fill, opacity));
    p_.drawEllipse(at(centre), radius, radius);
  }

  void circle(Point2 centre, double radius, std::optional<Colour> fill, Colour edge, double edge_px) override {
    p_.setPen(QPen(colour(edge), edge_px));
    if (fill)
      p_.setBrush(colour(*fill));
    else
      p_.setBrush(Qt::NoBrush);
    p_.drawEllipse(at(centre), radius, radius);
  }

  void text(Point2 anchor, const std::string& s, const plots::TextStyle& style) override {
    const QString t = QString::fromStdString(s);
    const QFont f = font(style.size_px, style.bold);
    double x = anchor.x, y = anchor.y;
    if (style.upright) {
      p_.save();
      p_.translate(x, y);
      p_.rotate(-90);
      x = y = 0;
    }
    const double w = QFontMetricsF(f).horizontalAdvance(t);
    if (style.align == plots::Align::kMiddle) x -= w / 2;
    if (style.align == plots::Align::kEnd) x -= w;
    p_.setFont(f);
    p_.setPen(colour(style.colour));
    p_.drawText(QPointF(x, y), t);
    if (style.upright) p_.restore();
  }

  void begin_clip(const plots::PixelRect& r) override {
    p_.save();
    p_.setClipRect(rect(r));
  }

  void end_clip() override { p_.restore(); }

 private:
  QPainter& p_;
};

}  // namespace

void paint_scene(QPainter& painter, const plots::Scene& scene, const plots::PlotFrame& frame,
                 std::size_t highlight_row) {
  painter.save();
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  PainterCanvas canvas(painter);
  plots::draw_scene(scene, frame, canvas, highlight_row);
  painter.restore();
}

}  // namespace lumivar::gui
