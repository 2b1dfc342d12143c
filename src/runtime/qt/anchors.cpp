#include "runtime/qt/anchors.h"

#include <algorithm>
#include <string>

#include "runtime/error.h"
#include "runtime/window_runtime.h"

namespace lumivar::runtime::qt {

Anchors parse_anchors(std::string_view words) {
  const std::string all = to_lower(words);
  if (all.empty()) return Anchors{};
  if (all == "all") return Anchors{true, true, true, true};
  Anchors a{false, false, false, false};
  std::size_t start = 0;
  while (start <= all.size()) {
    std::size_t end = all.find('-', start);
    if (end == std::string::npos) end = all.size();
    const std::string word = all.substr(start, end - start);
    if (word == "left") {
      a.left = true;
    } else if (word == "right") {
      a.right = true;
    } else if (word == "top") {
      a.top = true;
    } else if (word == "bottom") {
      a.bottom = true;
    } else {
      raise("Anchor \"" + std::string(words) +
            "\": each word must be top, bottom, left or right (or the whole is \"all\"), not \"" +
            word + "\".");
    }
    start = end + 1;
  }
  return a;
}

Matrix anchored_rect(const Matrix& rect, double old_width, double old_height, double width,
                     double height, const Anchors& anchors) {
  double x = rect(1), y = rect(2), w = rect(3), h = rect(4);
  const double dw = width - old_width, dh = height - old_height;
  if (anchors.left && anchors.right) {
    w = std::max(0.0, w + dw);
  } else if (anchors.right) {
    x += dw;
  }
  if (anchors.bottom && anchors.top) {
    h = std::max(0.0, h + dh);
  } else if (anchors.top) {
    y += dh;
  }
  return Matrix::row({x, y, w, h});
}

}  // namespace lumivar::runtime::qt
