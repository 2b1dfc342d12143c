#include "plots/svg.h"

#include <sstream>

#include "plots/canvas.h"
#include "plots/draw_scene.h"
#include "plots/plot_frame.h"
#include "runtime/error.h"
#include "runtime/format.h"

namespace lumivar::plots {

namespace {

// Pixel coordinates to two decimals: finer than any screen, and short.
// Locale-free: the window program writes SVG under the user's locale.
std::string px(double v) { return runtime::format("%.2f", {v}); }

// A size the layout fixes (a legend key, an edge width), as the number it is.
std::string fixed(double v) { return runtime::format("%g", {v}); }

std::string size(double v, Extent extent) { return extent == Extent::kFixed ? fixed(v) : px(v); }

const char* anchor(Align a) {
  switch (a) {
    case Align::kStart: return "start";
    case Align::kMiddle: return "middle";
    case Align::kEnd: return "end";
  }
  return "start";
}

// Writes SVG elements for the marks, in the order drawn. The document's
// head declares one clip path, the plot area, the only region the layout
// cuts marks to.
class SvgCanvas final : public Canvas {
 public:
  SvgCanvas(std::ostream& out, const PixelRect& plot_area) : out_(out), plot_area_(plot_area) {}

  void clear(double width, double height, Colour c) override {
    out_ << "<rect x=\"0\" y=\"0\" width=\"" << px(width) << "\" height=\"" << px(height) << "\" fill=\""
         << c.hex() << "\"/>\n";
  }

  void frame(const PixelRect& r, Colour c) override {
    out_ << "<rect x=\"" << px(r.left) << "\" y=\"" << px(r.top) << "\" width=\"" << px(r.width)
         << "\" height=\"" << px(r.height) << "\" fill=\"none\" stroke=\"" << c.hex() << "\"/>\n";
  }

  void box(const PixelRect& r, Colour fill, Colour edge, double edge_px, Extent extent) override {
    out_ << "<rect x=\"" << px(r.left) << "\" y=\"" << px(r.top) << "\" width=\"" << size(r.width, extent)
         << "\" height=\"" << size(r.height, extent) << "\" fill=\"" << fill.hex() << "\" stroke=\""
         << edge.hex() << "\" stroke-width=\"" << fixed(edge_px) << "\"/>\n";
  }

  void line(Point2 a, Point2 b, const LineStyle& style) override {
    out_ << "<line x1=\"" << px(a.x) << "\" y1=\"" << px(a.y) << "\" x2=\"" << px(b.x) << "\" y2=\""
         << px(b.y) << '"';
    stroke(style);
    out_ << "/>\n";
  }

  void polyline(const std::vector<Point2>& points, bool closed, const LineStyle& style) override {
    out_ << '<' << (closed ? "polygon" : "polyline") << " points=\"";
    for (std::size_t i = 0; i < points.size(); ++i)
      out_ << (i ? " " : "") << px(points[i].x) << ',' << px(points[i].y);
    out_ << "\" fill=\"none\"";
    stroke(style);
    out_ << "/>\n";
  }

  void disc(Point2 centre, double radius, Colour fill, double opacity, const std::string& hover,
            Extent extent) override {
    out_ << "<circle cx=\"" << px(centre.x) << "\" cy=\"" << px(centre.y) << "\" r=\"" << size(radius, extent)
         << "\" fill=\"" << fill.hex() << '"';
    if (opacity < 1) out_ << " fill-opacity=\"" << px(opacity) << '"';
    if (hover.empty())
      out_ << "/>\n";
    else
      out_ << "><title>" << xml_escaped(hover) << "</title></circle>\n";
  }

  void circle(Point2 centre, double radius, std::optional<Colour> fill, Colour edge, double edge_px) override {
    out_ << "<circle cx=\"" << px(centre.x) << "\" cy=\"" << px(centre.y) << "\" r=\"" << px(radius)
         << "\" fill=\"" << (fill ? fill->hex() : "none") << "\" stroke=\"" << edge.hex() << "\" stroke-width=\""
         << fixed(edge_px) << "\"/>\n";
  }

  void text(Point2 at, const std::string& s, const TextStyle& style) override {
    out_ << "<text x=\"" << px(at.x) << "\" y=\"" << px(at.y) << "\" font-size=\"" << px(style.size_px)
         << "\" fill=\"" << style.colour.hex() << "\" text-anchor=\"" << anchor(style.align) << '"'
         << (style.bold ? " font-weight=\"bold\"" : "");
    if (style.upright) out_ << " transform=\"rotate(-90 " << px(at.x) << ' ' << px(at.y) << ")\"";
    out_ << '>' << xml_escaped(s) << "</text>\n";
  }

  void begin_clip(const PixelRect& r) override {
    if (r.left != plot_area_.left || r.top != plot_area_.top || r.width != plot_area_.width ||
        r.height != plot_area_.height)
      runtime::raise("The SVG writer clips to the plot area only.");
    out_ << "<g clip-path=\"url(#plot-area)\">\n";
  }

  void end_clip() override { out_ << "</g>\n"; }

 private:
  void stroke(const LineStyle& style) {
    out_ << " stroke=\"" << style.colour.hex() << "\" stroke-width=\"" << px(style.width_px) << '"';
    if (style.dashed) out_ << " stroke-dasharray=\"" << fixed(kDashPx) << ' ' << fixed(kGapPx) << '"';
    if (style.rounded) out_ << " stroke-linecap=\"round\" stroke-linejoin=\"round\"";
  }

  std::ostream& out_;
  PixelRect plot_area_;
};

}  // namespace

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

namespace {

// The document with its shown `width` and `height` as written (a length with
// or without a unit) over a layout of width_px x height_px.
std::string svg_document(const Scene& s, double width_px, double height_px, const std::string& width,
                         const std::string& height) {
  const PlotFrame f(s, width_px, height_px);
  const PixelRect& a = f.plot_area();
  std::ostringstream out;
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" << width
      << "\" height=\"" << height << "\" viewBox=\"0 0 " << px(width_px) << ' ' << px(height_px)
      << "\" font-family=\"DejaVu Sans, Arial, Helvetica, sans-serif\">\n"
      << "<title>" << xml_escaped(s.title) << "</title>\n"
      << "<defs><clipPath id=\"plot-area\"><rect x=\"" << px(a.left) << "\" y=\"" << px(a.top)
      << "\" width=\"" << px(a.width) << "\" height=\"" << px(a.height) << "\"/></clipPath></defs>\n";
  SvgCanvas canvas(out, a);
  draw_scene(s, f, canvas);
  out << "</svg>\n";
  return out.str();
}

}  // namespace

std::string to_svg(const Scene& s, double width_px, double height_px) {
  return svg_document(s, width_px, height_px, px(width_px), px(height_px));
}

std::string to_svg(const Scene& s, double width_px, double height_px, const PaperSize& paper) {
  if (paper.unit != "mm" && paper.unit != "in") runtime::raise("An SVG is sized in mm or in, not \"" + paper.unit + "\".");
  return svg_document(s, width_px, height_px, px(paper.width) + paper.unit, px(paper.height) + paper.unit);
}

}  // namespace lumivar::plots
