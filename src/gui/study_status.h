#pragma once
// What the main window's status bar says about the study: the files loaded
// with their sizes, and, once an input changed after the last analysis, that
// the results and views still show the earlier files.
#include <string>

#include "input/session.h"

namespace lumivar::gui {

// The last part of a path ("landmarks.txt").
std::string file_name(const std::string& path);

// "landmarks.txt: 40 specimens x 2, 12 landmarks; reps.txt; groups.txt: 2 x 2",
// naming only the inputs loaded ("" before the first load); landmarks in
// three dimensions read "12 landmarks (3-D)". The specimens are
// counted once the measurement codes are loaded and divide the rows evenly;
// until then the rows are.
std::string study_summary(const runtime::Session& s);

// The file names of the inputs in `sources` that were loaded, joined by ", ".
std::string loaded_names(const runtime::InputSources& sources);

// "`title` — landmarks.txt, reps.txt, groups.txt" (just `title` when no file
// is named): the title of a view of an analysis of those files.
std::string with_files(const std::string& title, const runtime::InputSources& sources);

// "" when `loaded` are the files `analysed` came from (same paths, same
// contents); otherwise a note naming the analysed files.
std::string stale_note(const runtime::InputSources& analysed, const runtime::InputSources& loaded);

}  // namespace lumivar::gui
