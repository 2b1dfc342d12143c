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

// "Load": the landmark data into `data`; status in "FileBox". `dimensions`
// is the coordinates per landmark the user chose (2 or 3), or 0 to take them
// from the file's note (dimension_note.h), 2 without one; a choice that the
// note contradicts raises, storing nothing.
LoadOutcome load(runtime::WindowRuntime& ui, runtime::Session& s,
                 std::uint64_t progress_bytes = kLoadProgressBytes, int dimensions = 0);
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
// Landmarks of `dimensions` = 3 coordinates need 3k + 1 columns, report as
// "k Landmarks (3-D)", and get a message box naming the rows whose landmarks
// lie on one line (their turn about it is a choice of the superimposition).
void store_landmarks(runtime::WindowRuntime& ui, runtime::Session& s, runtime::Matrix y,
                     const std::string& fn, runtime::InputSource source = {},
                     int dimensions = 2);
inline constexpr const char* kCollinearTitle = "Landmarks on a line";
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
