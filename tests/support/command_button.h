#pragma once
// The button of a window whose callback sends `word` to the dispatcher, as
// the window shows it; nullptr when there is none (or more than one).
#include <QPushButton>
#include <string>

#include "runtime/qt/qt_window_runtime.h"

namespace lumivar::testing {

inline QPushButton* command_button(runtime::qt::QtWindowRuntime& ui, runtime::Handle fig,
                                   const std::string& word) {
  const runtime::Value callback(runtime::List({runtime::Value("lumivarsw"), runtime::Value(word)}));
  QPushButton* found = nullptr;
  int count = 0;
  for (runtime::Handle h : ui.tree(fig)) {
    if (ui.get(h, "Callback") == callback) {
      found = dynamic_cast<QPushButton*>(ui.widget(h));
      ++count;
    }
  }
  return count == 1 ? found : nullptr;
}

}  // namespace lumivar::testing
