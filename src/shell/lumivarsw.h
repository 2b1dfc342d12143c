#pragma once
// The dispatcher: every command of the main window enters here with one
// action word, compared exactly (case-sensitive, no trimming) with "Load",
// "LoadRepGroup", "LoadGroup", "VarExp" and "Permute". Anything else shows
// "Fell through case" titled "Alas, Woe!" and changes nothing. A completed
// "VarExp" or "Permute" becomes the application's last analysis.
#include "runtime/function_table.h"
#include "shell/application.h"

namespace lumivar::shell {

// `args` must hold the action word (a missing one raises an Error).
void lumivarsw(Application& app, const runtime::Args& args);

}  // namespace lumivar::shell
