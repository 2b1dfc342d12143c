#include "window/guidata.h"

#include <string>

#include "runtime/error.h"

namespace lumivar::window {
namespace detail {
namespace {

// From any object to the window containing it; empty when the chain of
// parents ends without a window (at the root object, for example).
runtime::Value getParentFigure(const runtime::WindowRuntime& ui, runtime::Value fig) {
  while (!fig.is_empty() && ui.get(fig.scalar(), "type") != runtime::Value("figure"))
    fig = ui.get(fig.scalar(), "parent");
  return fig;
}

runtime::Handle guidata_figure(const runtime::WindowRuntime& ui, const runtime::Value& h) {
  runtime::Value fig;
  if (h.is_matrix() && h.matrix().numel() == 1 && ui.is_valid(h.scalar()))
    fig = getParentFigure(ui, h);
  if (fig.is_empty()) runtime::raise("H must be the handle to a figure or figure descendent.");
  return fig.scalar();
}

}  // namespace
}  // namespace detail

runtime::Value guidata(runtime::WindowRuntime& ui, const runtime::Value& h) {
  return ui.appdata(detail::guidata_figure(ui, h), std::string(runtime::kGuiDataName));
}

void guidata(runtime::WindowRuntime& ui, const runtime::Value& h, runtime::Value data_in) {
  ui.set_appdata(detail::guidata_figure(ui, h), std::string(runtime::kGuiDataName),
                 std::move(data_in));
}

}  // namespace lumivar::window
