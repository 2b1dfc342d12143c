#pragma once
// A new folder and its files made all at once, for folders that others may
// write in too: the files are written into a fresh temporary folder beside
// the target (named ".NAME.XXXXXX", made by this process alone, so nobody can
// put a file or a link into it first) and one rename puts that folder in
// place. A reader, or another import into the same name, sees no folder or
// the whole one; two writers never mix their files; a link is never
// followed. On any failure, a cancel included, everything made is removed.
#include <atomic>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace lumivar::batch {

// (file name, bytes)
using FolderFiles = std::vector<std::pair<std::string, std::string>>;

// Makes the folder `path` holding `files`, and the folders above it that are
// missing. Refuses (raises an Error, writing nothing) when anything exists at
// `path`, a link too, or appears there before the rename. A failure raises
// an Error with the system's reason ("Cannot write out/landmarks.txt: No
// space left on device."); a raised `cancel` stops between pieces of the
// writes and raises runtime::Cancelled. `before_rename` runs once every
// file is written, so that a failure there leaves nothing behind too (a
// rival that takes the name after it still wins: the refusal follows).
void make_new_folder(const std::string& path, const FolderFiles& files, const std::atomic<bool>* cancel,
                     const std::function<void()>& before_rename = {});

}  // namespace lumivar::batch
