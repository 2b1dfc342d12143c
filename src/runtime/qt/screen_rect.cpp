#include "runtime/qt/screen_rect.h"

#include <cmath>

namespace lumivar::runtime::qt {

namespace detail {
int pixels(double v) { return static_cast<int>(std::lround(v)); }
}  // namespace detail

QRect to_top_left(const Matrix& rect, const QRect& container) {
  const int width = detail::pixels(rect(3));
  const int height = detail::pixels(rect(4));
  const int left = container.x() + detail::pixels(rect(1));
  // The container's bottom edge less the bottom offset and the height gives the top edge.
  const int top = container.y() + container.height() - detail::pixels(rect(2)) - height;
  return QRect(left, top, width, height);
}

Matrix to_lower_left(const QRect& rect, const QRect& container) {
  const int bottom = container.y() + container.height() - (rect.y() + rect.height());
  return Matrix::row({static_cast<double>(rect.x() - container.x()), static_cast<double>(bottom),
                      static_cast<double>(rect.width()), static_cast<double>(rect.height())});
}

}  // namespace lumivar::runtime::qt
