#pragma once
// Rectangles in two conventions. The window runtime's: [left bottom width
// height] in pixels, the origin at the lower-left corner of the container (the
// screen for a window, the window's inner area for a control) and y growing
// upwards. Qt's: a QRect whose origin is the container's top-left corner and
// whose y grows downwards. Fractional model values are rounded to whole pixels.
#include <QRect>

#include "runtime/matrix.h"

namespace lumivar::runtime::qt {

// `rect` must have 4 elements; `container` is in the coordinates of the result.
QRect to_top_left(const Matrix& rect, const QRect& container);
// The inverse: [left bottom width height] of `rect` within `container`.
Matrix to_lower_left(const QRect& rect, const QRect& container);

}  // namespace lumivar::runtime::qt
