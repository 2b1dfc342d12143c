#include "window/by_name.h"

#include <algorithm>

#include "runtime/error.h"
#include "window/guidata.h"
#include "window/guihandles.h"
#include "window/iskeyword.h"
#include "window/isvarname.h"
#include "window/movegui.h"
#include "window/openfig.h"

namespace lumivar::window {
runtime::FunctionEntry guidata_entry(runtime::WindowRuntime& ui) {
  return {"guidata", 2, 1, [&ui](const runtime::Args& args, int nargout) -> runtime::Results {
            runtime::require_inputs(args, 1);
            if (args.size() == 1) return {guidata(ui, args[0])};
            // Storing gives no result: asking for one is refused before anything is stored.
            runtime::check_argument_count("guidata", 0,
                                          static_cast<std::size_t>(std::max(nargout, 0)), true);
            guidata(ui, args[0], args[1]);
            return {};
          }};
}

runtime::FunctionEntry guihandles_entry(runtime::WindowRuntime& ui) {
  return {"guihandles", 1, 1, [&ui](const runtime::Args& args, int) -> runtime::Results {
            return {args.empty() ? guihandles(ui) : guihandles(ui, args[0])};
          }};
}

runtime::FunctionEntry openfig_entry(runtime::WindowRuntime& ui) {
  return {"openfig", 2, 1, [&ui](const runtime::Args& args, int) -> runtime::Results {
            runtime::require_inputs(args, 1);
            if (args.size() == 1) return {openfig(ui, args[0].text())};
            // A policy that is no text matches neither word and is refused as such.
            const std::string policy = args[1].is_text() ? args[1].text() : std::string();
            return {openfig(ui, args[0].text(), policy)};
          }};
}

runtime::FunctionEntry isvarname_entry(runtime::WindowRuntime&) {
  return {"isvarname", 1, 1, [](const runtime::Args& args, int) -> runtime::Results {
            runtime::require_inputs(args, 1);
            return {isvarname(args[0])};
          }};
}

runtime::FunctionEntry movegui_entry(runtime::WindowRuntime& ui) {
  return {"movegui", runtime::kAnyNumber, 0,
          [&ui](const runtime::Args& args, int) -> runtime::Results {
            movegui(ui, args);
            return {};
          }};
}

runtime::FunctionEntry iskeyword_entry(runtime::WindowRuntime&) {
  return {"iskeyword", 1, 1, [](const runtime::Args& args, int) -> runtime::Results {
            if (args.empty()) return {runtime::Value(iskeyword())};
            return {iskeyword(args[0])};
          }};
}

}  // namespace lumivar::window
