#pragma once
// Reading a numeric text file: one matrix row per line, values separated by
// blanks, tabs or commas, every row as wide as the first. Lines end with a
// line feed, a carriage return or both (runtime/file_lines.h). The data ends
// at the end of the file or at the first empty line after the first line. A
// last line without a line break is data like any other.
//
// The file is read once, as a stream: memory holds the values read so far
// (8 bytes each, in blocks) and, at the end, the matrix they fill, so the
// peak is about twice the matrix. The same read gives the SHA-256 of the
// file's bytes.
#include <string>

#include "runtime/file_lines.h"
#include "runtime/matrix.h"

namespace lumivar::input {

struct FileRead {
  enum class Status { kOk, kCannotOpen, kNotRegular, kEmpty };
  Status status = Status::kOk;
  runtime::Matrix y;   // the rows read (kOk only)
  std::string reason;  // why the file was not read (kCannotOpen, kNotRegular)
  std::string sha256;  // of every byte of the file, as read (kOk, kEmpty)
  // The first line that is not blank after the empty line that ended the
  // data, as written; empty when there is none. Files keep notes there that
  // the numbers' reader never sees (the landmarks' dimension).
  std::string after_data;
};

// Reads `path`. A line that is not a row of numbers of the first line's width,
// or that looks written with decimal commas, raises an Error naming the file,
// the line number and the problem. A path that cannot be opened, that is not
// a regular file (a folder, device, FIFO or socket: refused before any read,
// never waiting), or a file that holds no line at all is reported in the
// status. `progress`, when given, hears the bytes read (file_lines.h); what
// it raises ends the read.
FileRead read_numeric_file(const std::string& path, const runtime::ReadProgress& progress = {});

// The matrix of the file, or the 1x1 matrix -1 when the file cannot be
// opened or is not a regular file. A file with no line raises an Error
// saying it holds no numbers.
runtime::Matrix dload(const std::string& fname);

}  // namespace lumivar::input
