#include "runtime/qt/screen_rect.h"

#include <algorithm>
#include <cmath>

namespace lumivar::runtime::qt {
namespace {

// `v` rounded to a whole pixel and clamped to -kMaxPixels .. kMaxPixels; NaN is 0.
int pixels(double v) {
  if (std::isnan(v)) return 0;
  // Clamped before the conversion: a double beyond int's range has no int value.
  return static_cast<int>(std::lround(std::clamp(v, -double{kMaxPixels}, double{kMaxPixels})));
}

}  // namespace

int pixel_size(double v) { return std::max(0, pixels(v)); }

QRect to_top_left(const Matrix& rect, const QRect& container) {
  const int width = pixel_size(rect(3));
  const int height = pixel_size(rect(4));
  const int left = container.x() + pixels(rect(1));
  // The container's bottom edge less the bottom offset and the height gives
  // the top edge. Each term is within kMaxPixels, so int holds the sum.
  const int top = container.y() + container.height() - pixels(rect(2)) - height;
  return QRect(left, top, width, height);
}

Matrix to_lower_left(const QRect& rect, const QRect& container) {
  const int bottom = container.y() + container.height() - (rect.y() + rect.height());
  return Matrix::row({static_cast<double>(rect.x() - container.x()), static_cast<double>(bottom),
                      static_cast<double>(rect.width()), static_cast<double>(rect.height())});
}

}  // namespace lumivar::runtime::qt
