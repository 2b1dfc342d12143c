#include "window/guidata.h"

#include <string>

#include "runtime/error.h"
#include "window/figure_of.h"

namespace lumivar::window {
namespace {

runtime::Handle guidata_figure(const runtime::WindowRuntime& ui, const runtime::Value& h) {
  const std::optional<runtime::Handle> fig = figure_of(ui, h);
  if (!fig) runtime::raise("H must be the handle to a figure or figure descendent.");
  return *fig;
}

}  // namespace

runtime::Value guidata(runtime::WindowRuntime& ui, const runtime::Value& h) {
  return ui.appdata(guidata_figure(ui, h), std::string(runtime::kGuiDataName));
}

void guidata(runtime::WindowRuntime& ui, const runtime::Value& h, runtime::Value data_in) {
  ui.set_appdata(guidata_figure(ui, h), std::string(runtime::kGuiDataName),
                 std::move(data_in));
}

}  // namespace lumivar::window
