#pragma once
// Rectangles in two conventions. The window runtime's: [left bottom width
// height] in pixels, the origin at the lower-left corner of the container (the
// screen for a window, the window's inner area for a control) and y growing
// upwards. Qt's: a QRect whose origin is the container's top-left corner and
// whose y grows downwards. Fractional model values are rounded to whole pixels.
// Model values come from layout files and callbacks and may be anything a
// double holds (1e300, infinity, NaN): every conversion rounds them to whole
// pixels clamped to -kMaxPixels .. kMaxPixels (NaN is 0), the range Qt's
// geometry can hold.
#include <QRect>

#include "runtime/matrix.h"

namespace lumivar::runtime::qt {

// Qt's largest widget size (QWIDGETSIZE_MAX): beyond it nothing is on any screen.
inline constexpr int kMaxPixels = (1 << 24) - 1;
// `v` rounded to a whole pixel and clamped to 0 .. kMaxPixels, for widths and
// heights; NaN is 0.
int pixel_size(double v);

// `rect` must have 4 elements; `container` is in the coordinates of the result.
QRect to_top_left(const Matrix& rect, const QRect& container);
// The inverse: [left bottom width height] of `rect` within `container`.
Matrix to_lower_left(const QRect& rect, const QRect& container);

}  // namespace lumivar::runtime::qt
