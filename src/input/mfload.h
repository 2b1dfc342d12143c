#pragma once
// Choosing and reading a numeric text file through the open-file dialog.
#include <cstdint>
#include <string>

#include "input/dload.h"
#include "input/load_progress.h"
#include "runtime/window_runtime.h"

namespace lumivar::input {

struct ChosenFile {
  enum class Status { kOk, kCancelled, kCannotOpen, kNotRegular, kEmpty };
  Status status = Status::kCancelled;
  runtime::Matrix y;   // the file's matrix (kOk only)
  std::string fn;      // the file name without its folder, as the dialog gave it
  std::string path;    // folder and name
  std::string reason;  // why the file could not be opened, or what the path names instead
  std::string sha256;  // of the bytes the matrix was read from (kOk only)
  std::string after_data;  // the file's first line after its data (dload.h)
};

// Shows the dialog ("*.*", "Enter file to Load?") starting in the working
// folder, reads the chosen file, and makes its folder the working folder so
// that the next dialog opens there. A malformed file raises (the working
// folder is then left as it was); a cancel changes nothing. A file of
// `progress_bytes` or more shows its reading in a progress monitor, whose
// Cancel raises runtime::Cancelled with nothing changed.
ChosenFile mfload(runtime::WindowRuntime& ui, std::uint64_t progress_bytes = kLoadProgressBytes);

// The message a load action shows when the chosen file gave no data
// (cannot be opened, is not a regular file, or holds no numbers); empty for
// any other status.
std::string nothing_loaded_text(const ChosenFile& f);
inline constexpr const char* kNothingLoadedTitle = "Nothing loaded";

}  // namespace lumivar::input
