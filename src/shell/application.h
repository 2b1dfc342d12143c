#pragma once
// Everything the program keeps while it runs: the window runtime it talks
// to, the one session of the dispatcher, how "Permute" runs, and the table
// of functions callable by name (whose entries refer back to this object, so
// it is neither copied nor moved).
#include "permutation/permute_settings.h"
#include "runtime/function_table.h"
#include "runtime/session.h"
#include "runtime/window_runtime.h"

namespace lumivar::shell {

struct Application {
  explicit Application(runtime::WindowRuntime& ui);
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  runtime::WindowRuntime& ui;
  runtime::Session session;
  permutation::PermuteSettings permute_settings;
  runtime::FunctionTable table;
};

}  // namespace lumivar::shell
