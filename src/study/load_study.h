#pragma once
// Reading a study from a landmark file and a specimen sheet, and handing it
// to the session as the three load actions would.
#include <string>

#include "input/session.h"
#include "runtime/file_lines.h"
#include "runtime/window_runtime.h"
#include "study/build_study.h"

namespace lumivar::study {

struct StudySources {
  std::string landmarks;  // the landmark file (TPS, table with a header, or plain)
  std::string sheet;      // the specimen sheet
  std::string columns;    // column mapping for the sheet, "role=column,..."; empty: default names
  bool semilandmarks_as_landmarks = false;
  int dimensions = 0;  // coordinates per landmark asked for (2 or 3), 0: as the file shows
};

// Reads both files and builds the study. Raises, changing nothing, when a
// file cannot be read or the study is refused (build_study.h). `progress`
// hears the parse of the landmark file, the long part of a large study's
// import (landmark_file.h); a cancel it raises ends the import.
Study import_study(const StudySources& sources, const runtime::ReadProgress& progress = {});

// Stores the study in the session through the three load actions' own
// steps, in their order, so the status boxes and any warnings are exactly
// those of loading its three plain files. The landmark status names
// `landmarks_name`; the measurement and group statuses name `sheet_name`,
// the file their codes came from.
void load_study(runtime::WindowRuntime& ui, runtime::Session& s, const Study& study,
                const std::string& landmarks_name, const std::string& sheet_name);

}  // namespace lumivar::study
