#pragma once
// The landmark configurations of a study as a file holds them, one entry per
// specimen and measurement, each with the id that the specimen sheet uses.
// Three formats are recognised by their content:
//   - TPS: blocks that start with LM= (tps_reader.h);
//   - a table with a header line: an id column and x, y columns per landmark
//     (landmark_table.h);
//   - Lumivar's plain landmark file: x1 y1 ... xk yk (x1 y1 z1 ... for 3-D)
//     and a trailing value on each line, read by the program's numeric
//     reader; the trailing value, written as the shortest number that reads
//     back (7, 12.5), is the id.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/file_lines.h"

namespace lumivar::study {

struct LandmarkEntry {
  std::string id;          // empty when the file gives none
  std::vector<double> xy;  // x1 y1 [z1] x2 y2 [z2] ..., scaled when the file says so
  std::size_t line = 0;    // 1-based line where the entry starts
  // Landmarks of `d` coordinates each.
  std::size_t landmarks(std::size_t d = 2) const { return xy.size() / d; }
};

struct LandmarkFile {
  std::string name;  // the file as named in messages
  std::vector<LandmarkEntry> entries;
  int dimensions = 2;  // coordinates per landmark, the same for every entry
};

struct LandmarkReadOptions {
  // Read a TPS file's semilandmarks (CURVES=/POINTS=) as landmarks that
  // follow the specimen's LM= landmarks; otherwise such a file is refused.
  bool semilandmarks_as_landmarks = false;
  // Coordinates per landmark the user says the file holds (2 or 3), or 0 to
  // go by the file: a TPS file's points, a table's z columns, a plain file's
  // note (input/dimension_note.h), else 2. A file that shows another
  // dimension than the one asked for is refused.
  int dimensions = 0;
};

enum class LandmarkFormat { kTps, kTable, kPlain };

// The format of a file whose text is `text`: TPS when its first line that is
// not blank starts with LM (LM=, LM2=, LM3=); plain when every value of that
// line is a number; a table with a header otherwise.
LandmarkFormat landmark_format(std::string_view text);

// Reads the file at `path` (named `path` in messages), streaming: memory
// holds the entries, not the file's text. Raises an Error that names the
// file and the problem when it cannot be opened or read, or is no regular
// file. `progress`, when given, hears how far the parse has come in bytes
// of the file (runtime/file_lines.h), ending at the file's size; what it
// raises (a cancel) ends the reading.
LandmarkFile read_landmark_file(const std::string& path, const LandmarkReadOptions& options = {},
                                const runtime::ReadProgress& progress = {});

// Shortest text that reads back as exactly `v` ("7", "0.1", "1e+300").
std::string number_text(double v);

}  // namespace lumivar::study
