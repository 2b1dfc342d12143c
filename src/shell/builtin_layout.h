#pragma once
// The main window's layout, compiled into the program so that it opens even
// when no Lumivar.fig lies beside the executable.
namespace lumivar::shell {

extern const char* const kLumivarLayout;
// Makes the compiled-in copy available as "Lumivar.fig".
void register_builtin_layout();

}  // namespace lumivar::shell
