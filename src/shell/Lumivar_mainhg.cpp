#include "shell/Lumivar_mainhg.h"

#include "shell/application.h"

namespace lumivar::shell {

int Lumivar_mainhg(runtime::WindowRuntime& ui, const std::vector<std::string>& words) {
  Application app(ui);
  runtime::Args args;
  for (const std::string& w : words) args.emplace_back(w);
  const int status = ui.main_loop([&] {
    try {
      app.table.call("Lumivar", args, 0);
    } catch (const std::exception& e) {
      // Opening the main window failed (its layout cannot be read, say).
      ui.console().write_line(e.what());
      ui.message_box(e.what(), "Error");
    }
  });
  ui.set_function_table(nullptr);
  return status;
}

}  // namespace lumivar::shell
