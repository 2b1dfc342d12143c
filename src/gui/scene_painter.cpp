#include "gui/scene_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <vector>

#include "plots/palette.h"

namespace lumivar::gui {

namespace detail {

using plots::Align;
using plots::Colour;
using plots::PlotFrame;
using plots::Point2;

QColor colour(Colour c, double opacity = 1) {
  QColor q(c.r, c.g, c.b);
  q.setAlphaF(static_cast<float>(opacity));
  return q;
}

QPointF at(Point2 p) { return {p.x, p.y}; }

// The face the SVG writer names first; Qt falls back to the system's sans
// serif when it is missing.
QFont font(double size_px, bool bold) {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setStyleHint(QFont::SansSerif);
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(size_px))));
  f.setBold(bold);
  return f;
}

// Text with its baseline at y, anchored at x as SVG's text-anchor does.
void text(QPainter& p, double x, double y, const std::string& s, double size, Colour c,
          Align align = Align::kStart, bool bold = false) {
  const QString t = QString::fromStdString(s);
  const QFont f = font(size, bold);
  const double w = QFontMetricsF(f).horizontalAdvance(t);
  if (align == Align::kMiddle) x -= w / 2;
  if (align == Align::kEnd) x -= w;
  p.setFont(f);
  p.setPen(colour(c));
  p.drawText(QPointF(x, y), t);
}

void line(QPainter& p, Point2 a, Point2 b, Colour c, double width) {
  p.setPen(QPen(colour(c), width, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(at(a), at(b));
}

void disc(QPainter& p, Point2 centre, double radius, const QColor& fill) {
  p.setPen(Qt::NoPen);
  p.setBrush(fill);
  p.drawEllipse(at(centre), radius, radius);
}

void ring(QPainter& p, Point2 centre, double radius, Colour c, double width) {
  p.setPen(QPen(colour(c), width));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(at(centre), radius, radius);
}

// A polyline's pen: SVG's dash array "5 3" is in pixels, Qt's in pen widths.
QPen polyline_pen(const plots::Polyline& l) {
  QPen pen(colour(l.colour), l.width_px, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
  if (l.dashed) pen.setDashPattern({5 / l.width_px, 3 / l.width_px});
  return pen;
}

QPolygonF pixels(const std::vector<Point2>& points, const PlotFrame& f) {
  QPolygonF out;
  for (const Point2& q : points) out << at(f.to_pixels(q));
  return out;
}

void axes(QPainter& p, const plots::Scene& s, const PlotFrame& f) {
  const plots::PixelRect& a = f.plot_area();
  constexpr double kTick = 5, kSize = PlotFrame::kSubtitleSize;
  for (const plots::Tick& t : s.x_axis.ticks) {
    const double x = f.to_pixels({t.value, f.view().y_min}).x;
    line(p, {x, a.bottom()}, {x, a.bottom() + kTick}, plots::kInk, 1);
    text(p, x, a.bottom() + kTick + kSize + 2, t.label, kSize, plots::kInk, Align::kMiddle);
  }
  for (const plots::Tick& t : s.y_axis.ticks) {
    const double y = f.to_pixels({f.view().x_min, t.value}).y;
    line(p, {a.left - kTick, y}, {a.left, y}, plots::kInk, 1);
    text(p, a.left - kTick - 3, y + 4, t.label, kSize, plots::kInk, Align::kEnd);
  }
  if (!s.x_axis.title.empty())
    text(p, a.left + a.width / 2, a.bottom() + kTick + 2 * kSize + 12, s.x_axis.title, kSize,
         plots::kInk, Align::kMiddle);
  if (!s.y_axis.title.empty()) {
    const double x = PlotFrame::kPadding + kSize - 2, y = a.top + a.height / 2;
    p.save();
    p.translate(x, y);
    p.rotate(-90);
    text(p, 0, 0, s.y_axis.title, kSize, plots::kInk, Align::kMiddle);
    p.restore();
  }
}

void data(QPainter& p, const plots::Scene& s, const PlotFrame& f) {
  for (const plots::Rect& r : s.rects) {
    const Point2 a = f.to_pixels({r.box.x_min, r.box.y_max});
    const Point2 b = f.to_pixels({r.box.x_max, r.box.y_min});
    p.setPen(QPen(colour(r.stroke), 0.5));
    p.setBrush(colour(r.fill));
    p.drawRect(QRectF(at(a), at(b)));
  }
  for (const plots::ScenePoint& q : s.points) {
    const Point2 c = f.to_pixels(q.at);
    disc(p, c, q.radius_px, colour(q.colour, q.opacity));
    if (q.ringed) ring(p, c, q.radius_px + 3, plots::kInk, 1.5);
  }
  p.setBrush(Qt::NoBrush);
  for (const plots::Polyline& l : s.lines) {
    p.setPen(polyline_pen(l));
    if (l.closed)
      p.drawPolygon(pixels(l.points, f));
    else
      p.drawPolyline(pixels(l.points, f));
  }
}

// One configuration brought forward: its outline in its own colour and its
// points opaque, a little larger, with a dark edge.
void highlight(QPainter& p, const plots::Scene& s, const PlotFrame& f, std::size_t row) {
  std::vector<Point2> outline;
  Colour c;
  for (const plots::ScenePoint& q : s.points) {
    if (q.row != row) continue;
    outline.push_back(q.at);
    c = q.colour;
  }
  if (outline.empty()) return;
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(colour(c), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolygon(pixels(outline, f));
  for (const plots::ScenePoint& q : s.points) {
    if (q.row != row) continue;
    p.setPen(QPen(colour(plots::kInk), 1));
    p.setBrush(colour(q.colour));
    p.drawEllipse(at(f.to_pixels(q.at)), q.radius_px + 1.5, q.radius_px + 1.5);
  }
}

void legend(QPainter& p, const plots::Scene& s, const PlotFrame& f) {
  const plots::PixelRect& a = f.legend_area();
  for (std::size_t i = 0; i < s.legend.size(); ++i) {
    const plots::LegendEntry& e = s.legend[i];
    const double y = a.top + PlotFrame::kLegendRow * (static_cast<double>(i) + 0.5);
    const double x = a.left + 8;
    switch (e.kind) {
      case plots::LegendEntry::Kind::kPoint:
        disc(p, {x, y}, 4, colour(e.colour));
        break;
      case plots::LegendEntry::Kind::kLine:
        line(p, {x - 7, y}, {x + 7, y}, e.colour, 2);
        break;
      case plots::LegendEntry::Kind::kBar:
        p.setPen(QPen(colour(plots::kBarStroke), 0.5));
        p.setBrush(colour(e.colour));
        p.drawRect(QRectF(x - 6, y - 5, 12, 10));
        break;
    }
    text(p, x + 14, y + 4, e.text, PlotFrame::kSubtitleSize, plots::kInk);
  }
}

}  // namespace detail

void paint_scene(QPainter& p, const plots::Scene& s, const plots::PlotFrame& f,
                 std::size_t highlight_row) {
  using plots::PlotFrame;
  p.save();
  p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  p.fillRect(QRectF(0, 0, f.width(), f.height()), detail::colour(plots::kBackground));
  detail::text(p, PlotFrame::kPadding, f.title_baseline(), s.title, PlotFrame::kTitleSize,
               plots::kInk, plots::Align::kStart, true);
  if (!s.subtitle.empty())
    detail::text(p, PlotFrame::kPadding, f.subtitle_baseline(), s.subtitle, PlotFrame::kSubtitleSize,
                 plots::kInk);
  const plots::PixelRect& a = f.plot_area();
  const QRectF area(a.left, a.top, a.width, a.height);
  p.setPen(QPen(detail::colour(plots::kGridGrey), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(area);
  detail::axes(p, s, f);
  p.save();
  p.setClipRect(area);
  detail::data(p, s, f);
  if (highlight_row > 0) detail::highlight(p, s, f, highlight_row);
  p.restore();
  for (const plots::Label& l : s.labels) {
    const plots::Point2 q = f.to_pixels(l.at);
    detail::text(p, q.x + l.dx_px, q.y + l.dy_px, l.text, l.size_px, l.colour, l.align, l.bold);
  }
  detail::legend(p, s, f);
  p.restore();
}

}  // namespace lumivar::gui
