#pragma once
// The size of a picture for print: a width and a height in millimetres or
// inches and a resolution in dots per inch. The picture is laid out at the
// screen's 96 dots per inch and drawn scaled, so text and lines keep their
// size on paper at any resolution (at 300 dpi a 10-pixel label becomes
// 31 pixels), and the resolution is written into the file.
#include <QSize>
#include <QSizeF>
#include <QString>

namespace lumivar::gui {

enum class LengthUnit { kMillimetres, kInches };

struct PrintSize {
  double width = 0, height = 0;  // in `unit`
  LengthUnit unit = LengthUnit::kMillimetres;
  double dpi = 300;
};

// The resolution at which a picture is laid out (the screen's, as Qt counts it).
inline constexpr double kLayoutDpi = 96;

// The picture's pixels: each side in inches times the resolution, rounded.
QSize print_pixels(const PrintSize& p);
// How much the drawing is scaled up from its layout: dpi / 96.
double print_scale(const PrintSize& p);
// The size the picture is laid out at: each side in inches times 96, not
// rounded (an SVG's viewBox, which a viewer stretches to the size on paper).
QSizeF print_layout(const PrintSize& p);
// The print size of `pixels` shown on screen, at `dpi`, in `unit`.
PrintSize print_size_of(const QSize& pixels, LengthUnit unit, double dpi);

// A file name for a picture titled `title`: its words in lower case joined
// by hyphens, letters and digits only ("F of G1 (999 relabellings)" gives
// "f-of-g1-999-relabellings"), then `extension` (".png"); "picture" when no word is left.
QString suggested_file_name(const QString& title, const QString& extension);

}  // namespace lumivar::gui
