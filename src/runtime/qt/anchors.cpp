#include "runtime/qt/anchors.h"

#include <algorithm>
#include <string>

#include "runtime/error.h"
#include "runtime/window_runtime.h"

namespace lumivar::runtime::qt {
namespace {

Anchors from_words(std::string_view words) {
  const std::string all = to_lower(words);
  bool left = false, right = false, bottom = false, top = false;
  if (all.empty()) return Anchors{};
  if (all == "all") return Anchors{0, 1, 0, 1};
  std::size_t start = 0;
  while (start <= all.size()) {
    std::size_t end = all.find('-', start);
    if (end == std::string::npos) end = all.size();
    const std::string word = all.substr(start, end - start);
    if (word == "left") {
      left = true;
    } else if (word == "right") {
      right = true;
    } else if (word == "top") {
      top = true;
    } else if (word == "bottom") {
      bottom = true;
    } else {
      raise("Anchor \"" + std::string(words) +
            "\": each word must be top, bottom, left or right (or the whole is \"all\"), not \"" +
            word + "\".");
    }
    start = end + 1;
  }
  // Following only the far edge moves the whole control with it.
  const double x0 = right && !left ? 1 : 0, x1 = right ? 1 : 0;
  const double y0 = top && !bottom ? 1 : 0, y1 = top ? 1 : 0;
  return Anchors{x0, x1, y0, y1};
}

Anchors from_fractions(const Matrix& m) {
  const bool ok = m.numel() == 4 &&
                  std::all_of(m.values().begin(), m.values().end(),
                              [](double f) { return f >= 0 && f <= 1; }) &&
                  m(1) <= m(2) && m(3) <= m(4);
  if (!ok)
    raise("Anchor as numbers must be four fractions [left right bottom top] between 0 and 1, "
          "with left <= right and bottom <= top.");
  return Anchors{m(1), m(2), m(3), m(4)};
}

}  // namespace

Anchors parse_anchors(const Value& anchor) {
  if (anchor.is_text()) return from_words(anchor.text());
  if (anchor.is_matrix() && anchor.is_empty()) return Anchors{};
  if (anchor.is_matrix()) return from_fractions(anchor.matrix());
  raise("Anchor must be edge words such as \"top-left\" or four fractions [left right bottom top].");
}

Matrix anchored_rect(const Matrix& rect, double old_width, double old_height, double width,
                     double height, const Anchors& anchors) {
  const double dw = width - old_width, dh = height - old_height;
  return Matrix::row({rect(1) + anchors.left * dw, rect(2) + anchors.bottom * dh,
                      std::max(0.0, rect(3) + (anchors.right - anchors.left) * dw),
                      std::max(0.0, rect(4) + (anchors.top - anchors.bottom) * dh)});
}

}  // namespace lumivar::runtime::qt
