#include "input/mismatch_boxes.h"

#include <algorithm>

namespace lumivar::input {

void show_mismatch_boxes(runtime::WindowRuntime& ui, const std::string& title, std::size_t count,
                         const std::function<std::string(std::size_t)>& box,
                         const std::function<std::string(std::size_t)>& more) {
  const std::size_t shown = std::min(count, kMaxMismatchBoxes);
  for (std::size_t k = 0; k < shown; ++k) ui.message_box(box(k), title);
  if (count > shown) ui.message_box(more(count - shown), title);
}

}  // namespace lumivar::input
