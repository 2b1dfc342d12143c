#pragma once
// What the boxes of the main window say after the same steps on the headless
// runtime: the reference a window test compares its boxes with, so that a
// menu entry, a drop or a button shows exactly the dispatcher's texts.
#include <map>
#include <string>
#include <vector>

#include "runtime/headless/headless_runtime.h"
#include "shell/application.h"

namespace lumivar::testing {

// Opens the main window, answers its file dialogs with `files` in order,
// sends each of `words` to the dispatcher ("Load", "VarExp"...) and returns
// the String of each box by tag.
inline std::map<std::string, std::string> headless_texts(const std::vector<std::string>& files,
                                                         const std::vector<std::string>& words) {
  runtime::headless::HeadlessRuntime headless;
  runtime::RecordingConsole quiet;
  headless.set_console(&quiet);
  shell::Application reference(headless);
  reference.table.call("Lumivar", {}, 0);
  for (const std::string& f : files) headless.queue_file(f);
  for (const std::string& word : words) reference.table.call("lumivarsw", {runtime::Value(word)}, 0);
  std::map<std::string, std::string> texts;
  for (const char* tag : {"FileBox", "RepBox", "GroupBox", "ResBox", "PermBox"})
    texts[tag] = headless.get(headless.find_by_tag(tag).at(0), "String").text();
  return texts;
}

}  // namespace lumivar::testing
