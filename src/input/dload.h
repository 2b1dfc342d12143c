#pragma once
// Reading a numeric text file: one matrix row per line, values separated by
// blanks, tabs or commas, every row as wide as the first. The data ends at the
// end of the file or at the first empty line after the first line (a line
// that is empty once its line feed, and a carriage return before it, are
// removed). A last line without a line break is data like any other.
#include <string>

#include "runtime/matrix.h"

namespace lumivar::input {

struct FileRead {
  enum class Status { kOk, kCannotOpen, kEmpty };
  Status status = Status::kOk;
  runtime::Matrix y;   // the rows read (kOk only)
  std::string reason;  // why the file could not be opened (kCannotOpen only)
};

// Reads `path`. A line that is not a row of numbers of the first line's width
// raises an Error naming the file, the line number and the problem. A file
// that cannot be opened or holds no line at all is reported in the status.
FileRead read_numeric_file(const std::string& path);

// The matrix of the file, or the 1x1 matrix -1 when the file cannot be
// opened. A file with no line raises an Error saying it holds no numbers.
runtime::Matrix dload(const std::string& fname);

}  // namespace lumivar::input
