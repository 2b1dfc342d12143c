#pragma once
// The three load actions of the dispatcher. Each asks for a file, stores what
// it read in the session and writes its status box. A cancelled dialog ends
// the action quietly; a file that cannot be opened or holds no numbers gets a
// message box and changes nothing; a malformed file raises an Error before
// anything is stored. A file of `progress_bytes` or more shows its reading
// in a progress monitor of the window runtime (load_progress.h); a cancel
// there raises runtime::Cancelled and changes nothing.
#include <cstdint>
#include <functional>
#include <string>

#include "input/load_progress.h"
#include "input/session.h"
#include "runtime/window_runtime.h"

namespace lumivar::input {

enum class LoadOutcome { kLoaded, kCancelled, kNothingLoaded };

// "Load": the landmark data into `data`; status in "FileBox".
LoadOutcome load(runtime::WindowRuntime& ui, runtime::Session& s,
                 std::uint64_t progress_bytes = kLoadProgressBytes);
// "LoadRepGroup": the repeated-measures codes; status in "RepBox".
LoadOutcome loadrepgroup(runtime::WindowRuntime& ui, runtime::Session& s,
                         std::uint64_t progress_bytes = kLoadProgressBytes);
// "LoadGroup": the G1 and G2 codes; status in "GroupBox".
LoadOutcome loadgroup(runtime::WindowRuntime& ui, runtime::Session& s,
                      std::uint64_t progress_bytes = kLoadProgressBytes);

// What each action does once its file is read, for matrices read elsewhere
// (an imported study): stores `y` as the action would, records `source` as
// where it came from, shows `fn` as the file name in the status box, and
// shows the same message boxes. Raises, storing nothing, as the action would
// (landmark data that cannot be landmarks, a group matrix of one column).
void store_landmarks(runtime::WindowRuntime& ui, runtime::Session& s, runtime::Matrix y,
                     const std::string& fn, runtime::InputSource source = {});
void store_repgroup(runtime::WindowRuntime& ui, runtime::Session& s, runtime::Matrix y,
                    const std::string& fn, runtime::InputSource source = {});
void store_group(runtime::WindowRuntime& ui, runtime::Session& s, runtime::Matrix y,
                 const std::string& fn, runtime::InputSource source = {});

struct ChosenFile;
namespace detail {
// Shared by the three actions: asks for a file and, when it holds data, hands
// it to `use`; otherwise reports why not (a box for a file that gave no data,
// nothing for a cancel). Returns the action's outcome.
LoadOutcome with_chosen_file(runtime::WindowRuntime& ui, std::uint64_t progress_bytes,
                             const std::function<void(ChosenFile&)>& use);
}  // namespace detail

}  // namespace lumivar::input
