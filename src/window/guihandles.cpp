#include "window/guihandles.h"

#include "runtime/error.h"
#include "window/figure_of.h"
#include "window/isvarname.h"

namespace lumivar::window {
namespace {

runtime::Value createHandles(const runtime::WindowRuntime& ui, runtime::Handle fig) {
  runtime::Record handles;
  // The whole tree, the window itself and hidden objects included.
  for (runtime::Handle this_h : ui.tree(fig)) {
    const runtime::Value tag = ui.get(this_h, "tag");
    // An empty tag is no identifier either; both are left out without a word.
    if (isvarname(tag).scalar() == 0.0) continue;
    runtime::Matrix row =
        handles.has(tag.text()) ? handles.get(tag.text()).matrix() : runtime::Matrix();
    row.set_grow(row.numel() + 1, this_h);
    handles.set(tag.text(), std::move(row));
  }
  if (handles.size() == 0) return runtime::Value();
  return runtime::Value(std::move(handles));
}

}  // namespace

runtime::Value guihandles(runtime::WindowRuntime& ui, const runtime::Value& h) {
  const std::optional<runtime::Handle> fig = figure_of(ui, h);
  if (!fig) runtime::raise("H must be the handle to a figure or figure descendent.");
  return createHandles(ui, *fig);
}

runtime::Value guihandles(runtime::WindowRuntime& ui) {
  const runtime::Value fig = ui.current_figure();
  // With no window open there is no object, so none qualifies.
  if (fig.is_empty()) return runtime::Value();
  return createHandles(ui, fig.scalar());
}

}  // namespace lumivar::window
