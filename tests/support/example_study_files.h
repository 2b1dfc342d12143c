#pragma once
// The example study (landmarks, measurement codes, group codes) and open-file
// dialogs answered from a list of files, as a user picks them one by one.
#include <deque>
#include <filesystem>
#include <memory>
#include <string>

#include "runtime/qt/qt_window_runtime.h"

namespace lumivar::testing {

// The full path of one of the example study's files ("landmarks.txt").
inline std::string example(const std::string& name) { return std::string(LUMIVAR_EXAMPLES) + "/" + name; }

// The dialog's answer for the first of `files`, which it takes off the list;
// once the list is used up, a cancel.
inline runtime::FileChoice next_file_choice(std::deque<std::string>& files) {
  if (files.empty()) return {};
  const std::filesystem::path p(files.front());
  files.pop_front();
  return {false, p.filename().string(), p.parent_path().string() + "/"};
}

// Answers the window's open-file dialogs with the example study's three files
// in the order the main window asks for them.
inline void choose_example_study(runtime::qt::QtWindowRuntime& ui) {
  auto files = std::make_shared<std::deque<std::string>>();
  for (const char* f : {"landmarks.txt", "reps.txt", "groups.txt"}) files->push_back(example(f));
  ui.set_file_dialog([files](const std::string&, const std::string&) { return next_file_choice(*files); });
}

}  // namespace lumivar::testing
