#pragma once
// Answers the window's open-file dialogs with the example study's three
// files (landmarks, measurement codes, group codes) in the order the main
// window asks for them; once they are used up, as if the user cancelled.
#include <deque>
#include <filesystem>
#include <memory>
#include <string>

#include "runtime/qt/qt_window_runtime.h"

namespace lumivar::testing {

inline void choose_example_study(runtime::qt::QtWindowRuntime& ui) {
  auto files = std::make_shared<std::deque<std::string>>();
  for (const char* f : {"landmarks.txt", "reps.txt", "groups.txt"})
    files->push_back(std::string(LUMIVAR_EXAMPLES) + "/" + f);
  ui.set_file_dialog([files](const std::string&, const std::string&) {
    if (files->empty()) return runtime::FileChoice{};
    const std::filesystem::path p(files->front());
    files->pop_front();
    return runtime::FileChoice{false, p.filename().string(), p.parent_path().string() + "/"};
  });
}

}  // namespace lumivar::testing
