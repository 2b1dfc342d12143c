#include "shell/Lumivar_mainhg.h"

#include "runtime/error.h"
#include "shell/application.h"

namespace lumivar::shell {

int Lumivar_mainhg(runtime::WindowRuntime& ui, const std::vector<std::string>& words,
                   const std::function<void(Application&)>& on_start) {
  Application app(ui);
  runtime::Args args;
  for (const std::string& w : words) args.emplace_back(w);
  const auto report = [&ui](const std::exception& e) {
    ui.console().write_line(runtime::error_text(e));
    ui.message_box(runtime::error_text(e), runtime::error_title(e));
  };
  const int status = ui.main_loop([&] {
    try {
      app.table.call("Lumivar", args, 0);
    } catch (const std::exception& e) {
      report(e);  // opening the main window failed (its layout cannot be read, say)
    }
    try {
      if (on_start) on_start(app);
    } catch (const std::exception& e) {
      report(e);
    }
  });
  ui.set_function_table(nullptr);
  return status;
}

}  // namespace lumivar::shell
