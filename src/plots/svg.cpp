#include "plots/svg.h"

#include <cstdio>
#include <sstream>

#include "plots/palette.h"
#include "plots/plot_frame.h"

namespace lumivar::plots {

namespace detail {

// Pixel coordinates to two decimals: finer than any screen, and short.
std::string px(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", v);
  return text;
}

const char* anchor(Align a) {
  switch (a) {
    case Align::kStart: return "start";
    case Align::kMiddle: return "middle";
    case Align::kEnd: return "end";
  }
  return "start";
}

void text(std::ostream& out, double x, double y, const std::string& s, double size, Colour c,
          Align align = Align::kStart, bool bold = false, const char* extra = "") {
  out << "<text x=\"" << px(x) << "\" y=\"" << px(y) << "\" font-size=\"" << px(size)
      << "\" fill=\"" << c.hex() << "\" text-anchor=\"" << anchor(align) << '"'
      << (bold ? " font-weight=\"bold\"" : "") << extra << '>' << xml_escaped(s) << "</text>\n";
}

void line(std::ostream& out, Point2 a, Point2 b, Colour c, double width) {
  out << "<line x1=\"" << px(a.x) << "\" y1=\"" << px(a.y) << "\" x2=\"" << px(b.x) << "\" y2=\""
      << px(b.y) << "\" stroke=\"" << c.hex() << "\" stroke-width=\"" << px(width) << "\"/>\n";
}

void axes(std::ostream& out, const Scene& s, const PlotFrame& f) {
  const PixelRect& a = f.plot_area();
  constexpr double kTick = 5, kSize = PlotFrame::kSubtitleSize;
  for (const Tick& t : s.x_axis.ticks) {
    const double x = f.to_pixels({t.value, f.view().y_min}).x;
    line(out, {x, a.bottom()}, {x, a.bottom() + kTick}, kInk, 1);
    text(out, x, a.bottom() + kTick + kSize + 2, t.label, kSize, kInk, Align::kMiddle);
  }
  for (const Tick& t : s.y_axis.ticks) {
    const double y = f.to_pixels({f.view().x_min, t.value}).y;
    line(out, {a.left - kTick, y}, {a.left, y}, kInk, 1);
    text(out, a.left - kTick - 3, y + 4, t.label, kSize, kInk, Align::kEnd);
  }
  if (!s.x_axis.title.empty())
    text(out, a.left + a.width / 2, a.bottom() + kTick + 2 * kSize + 12, s.x_axis.title, kSize, kInk,
         Align::kMiddle);
  if (!s.y_axis.title.empty()) {
    const double x = PlotFrame::kPadding + kSize - 2, y = a.top + a.height / 2;
    const std::string turn = " transform=\"rotate(-90 " + px(x) + " " + px(y) + ")\"";
    text(out, x, y, s.y_axis.title, kSize, kInk, Align::kMiddle, false, turn.c_str());
  }
}

void data(std::ostream& out, const Scene& s, const PlotFrame& f) {
  for (const Rect& r : s.rects) {
    const Point2 a = f.to_pixels({r.box.x_min, r.box.y_max});
    const Point2 b = f.to_pixels({r.box.x_max, r.box.y_min});
    out << "<rect x=\"" << px(a.x) << "\" y=\"" << px(a.y) << "\" width=\"" << px(b.x - a.x)
        << "\" height=\"" << px(b.y - a.y) << "\" fill=\"" << r.fill.hex() << "\" stroke=\""
        << r.stroke.hex() << "\" stroke-width=\"0.5\"/>\n";
  }
  for (const ScenePoint& p : s.points) {
    const Point2 c = f.to_pixels(p.at);
    out << "<circle cx=\"" << px(c.x) << "\" cy=\"" << px(c.y) << "\" r=\"" << px(p.radius_px)
        << "\" fill=\"" << p.colour.hex() << '"';
    if (p.opacity < 1) out << " fill-opacity=\"" << px(p.opacity) << '"';
    if (p.row > 0) {
      out << "><title>row " << p.row;
      if (p.landmark > 0) out << ", landmark " << p.landmark;
      out << "</title></circle>\n";
    } else {
      out << "/>\n";
    }
    if (p.ringed)
      out << "<circle cx=\"" << px(c.x) << "\" cy=\"" << px(c.y) << "\" r=\"" << px(p.radius_px + 3)
          << "\" fill=\"none\" stroke=\"" << kInk.hex() << "\" stroke-width=\"1.5\"/>\n";
  }
  for (const Polyline& l : s.lines) {
    out << '<' << (l.closed ? "polygon" : "polyline") << " points=\"";
    for (std::size_t i = 0; i < l.points.size(); ++i) {
      const Point2 q = f.to_pixels(l.points[i]);
      out << (i ? " " : "") << px(q.x) << ',' << px(q.y);
    }
    out << "\" fill=\"none\" stroke=\"" << l.colour.hex() << "\" stroke-width=\"" << px(l.width_px)
        << '"' << (l.dashed ? " stroke-dasharray=\"5 3\"" : "") << "/>\n";
  }
}

void legend(std::ostream& out, const Scene& s, const PlotFrame& f) {
  const PixelRect& a = f.legend_area();
  for (std::size_t i = 0; i < s.legend.size(); ++i) {
    const LegendEntry& e = s.legend[i];
    const double y = a.top + PlotFrame::kLegendRow * (static_cast<double>(i) + 0.5);
    const double x = a.left + 8;
    switch (e.kind) {
      case LegendEntry::Kind::kPoint:
        out << "<circle cx=\"" << px(x) << "\" cy=\"" << px(y) << "\" r=\"4\" fill=\"" << e.colour.hex()
            << "\"/>\n";
        break;
      case LegendEntry::Kind::kLine:
        line(out, {x - 7, y}, {x + 7, y}, e.colour, 2);
        break;
      case LegendEntry::Kind::kBar:
        out << "<rect x=\"" << px(x - 6) << "\" y=\"" << px(y - 5) << "\" width=\"12\" height=\"10\" fill=\""
            << e.colour.hex() << "\" stroke=\"" << kBarStroke.hex() << "\" stroke-width=\"0.5\"/>\n";
        break;
    }
    text(out, x + 14, y + 4, e.text, PlotFrame::kSubtitleSize, kInk);
  }
}

}  // namespace detail

std::string xml_escaped(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string to_svg(const Scene& s, double width_px, double height_px) {
  using detail::px;
  const PlotFrame f(s, width_px, height_px);
  const PixelRect& a = f.plot_area();
  std::ostringstream out;
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" << px(width_px)
      << "\" height=\"" << px(height_px) << "\" viewBox=\"0 0 " << px(width_px) << ' ' << px(height_px)
      << "\" font-family=\"DejaVu Sans, Arial, Helvetica, sans-serif\">\n"
      << "<title>" << xml_escaped(s.title) << "</title>\n"
      << "<defs><clipPath id=\"plot-area\"><rect x=\"" << px(a.left) << "\" y=\"" << px(a.top)
      << "\" width=\"" << px(a.width) << "\" height=\"" << px(a.height) << "\"/></clipPath></defs>\n"
      << "<rect x=\"0\" y=\"0\" width=\"" << px(width_px) << "\" height=\"" << px(height_px)
      << "\" fill=\"" << kBackground.hex() << "\"/>\n";
  detail::text(out, PlotFrame::kPadding, f.title_baseline(), s.title, PlotFrame::kTitleSize, kInk,
               Align::kStart, true);
  if (!s.subtitle.empty())
    detail::text(out, PlotFrame::kPadding, f.subtitle_baseline(), s.subtitle, PlotFrame::kSubtitleSize,
                 kInk);
  out << "<rect x=\"" << px(a.left) << "\" y=\"" << px(a.top) << "\" width=\"" << px(a.width)
      << "\" height=\"" << px(a.height) << "\" fill=\"none\" stroke=\"" << kGridGrey.hex() << "\"/>\n";
  detail::axes(out, s, f);
  out << "<g clip-path=\"url(#plot-area)\">\n";
  detail::data(out, s, f);
  out << "</g>\n";
  for (const Label& l : s.labels) {
    const Point2 p = f.to_pixels(l.at);
    detail::text(out, p.x + l.dx_px, p.y + l.dy_px, l.text, l.size_px, l.colour, l.align, l.bold);
  }
  detail::legend(out, s, f);
  out << "</svg>\n";
  return out.str();
}

}  // namespace lumivar::plots
