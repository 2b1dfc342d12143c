#include "window/figure_of.h"

namespace lumivar::window {

std::optional<runtime::Handle> figure_of(const runtime::WindowRuntime& ui, const runtime::Value& h) {
  if (!h.is_matrix() || h.matrix().numel() != 1) return std::nullopt;
  return ui.figure_of(h.scalar());
}

}  // namespace lumivar::window
