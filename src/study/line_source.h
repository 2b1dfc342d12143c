#pragma once
// Where the study readers take their lines from, one at a time: a file
// streamed through runtime::FileLines (so memory holds one block and the
// current line, and a progress hook hears how far the parse has come), or a
// text already in memory. A UTF-8 byte order mark before the first line is
// dropped.
#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/file_lines.h"

namespace lumivar::study {

class LineSource {
 public:
  // The lines of `text`, which must outlive the source: split at line
  // feeds, a carriage return before a line feed dropped.
  explicit LineSource(std::string_view text);
  // The lines of an open file (file_lines.h: any line end reads alike).
  explicit LineSource(runtime::FileLines& file);

  // Puts the next line into `line`; false at the end.
  bool next(std::string& line);
  // The 1-based number of the line last handed out.
  std::size_t number() const { return number_; }

 private:
  runtime::FileLines* file_ = nullptr;
  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t number_ = 0;
};

// Raises, naming the file, when `file` (opened from `path`) cannot be read:
// it could not be opened, or it is no regular file (a folder, a named pipe).
void check_open(const runtime::FileLines& file, const std::string& path);

}  // namespace lumivar::study
