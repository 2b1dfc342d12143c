#include "shell/Lumivar.h"

#include <array>
#include <string_view>

#include "runtime/error.h"
#include "window/guidata.h"
#include "window/guihandles.h"
#include "window/openfig.h"

namespace lumivar::shell {

namespace {

// The five box callbacks, local to the window function: each ignores its
// arguments and writes one line to the console.
bool box_callback(Application& app, std::string_view name) {
  static constexpr std::array<std::string_view, 5> boxes = {"ResBox", "FileBox", "RepBox",
                                                            "GroupBox", "PermBox"};
  for (std::string_view box : boxes) {
    if (name.size() == box.size() + 9 && name.substr(0, box.size()) == box &&
        name.substr(box.size()) == "_Callback") {
      app.ui.console().write_line(std::string(box) + " Callback not implemented yet.");
      return true;
    }
  }
  return false;
}

runtime::Results open_main_window(Application& app, int nargout) {
  const runtime::Handle fig = window::openfig(app.ui, "Lumivar", "reuse");
  app.ui.set(fig, "Color", app.ui.get(runtime::kRoot, "defaultUicontrolBackgroundColor"));
  const runtime::Value handles = window::guihandles(app.ui, runtime::Value(fig));
  window::guidata(app.ui, runtime::Value(fig), handles);
  if (nargout > 0) return {runtime::Value(fig)};
  return {};
}

}  // namespace

runtime::Results Lumivar(Application& app, const runtime::Args& args, int nargout) {
  if (args.empty()) return open_main_window(app, nargout);
  if (!args.front().is_text()) return {};
  const std::string name = args.front().text();
  try {
    if (box_callback(app, name)) return {};
    const runtime::Args rest(args.begin() + 1, args.end());
    return app.table.call(name, rest, nargout);
  } catch (const std::exception& e) {
    app.ui.console().write_line(runtime::error_text(e));
    return {};
  }
}

}  // namespace lumivar::shell
