#pragma once
// Reading a text file line by line as a stream, for the numeric reader.
//
// Only regular files are read: a folder, a device, a named pipe (FIFO) or a
// socket is refused before a byte is read, and opening never blocks (a FIFO
// without a writer would otherwise wait forever, and a device such as
// /dev/zero never ends). The file is read in blocks of 64 KiB, so memory
// holds one block and the current line, whatever the file's size.
//
// Line ends: a line feed, a carriage return, or a carriage return followed
// by a line feed all end a line, so files from any system read alike. Carriage
// returns directly before a line feed belong to that one line end (a file
// saved twice through a text-mode conversion ends its lines with CR CR LF).
//
// Every byte read from the file also goes into a SHA-256, so the digest names
// exactly the bytes the lines came from, without reading the file twice.
#include <cstddef>
#include <string>
#include <vector>

#include "runtime/sha256.h"

namespace lumivar::runtime {

class FileLines {
 public:
  enum class Status { kOpen, kCannotOpen, kNotRegular };

  // Opens `path` for reading; check status() before reading.
  explicit FileLines(const std::string& path);
  ~FileLines();
  FileLines(const FileLines&) = delete;
  FileLines& operator=(const FileLines&) = delete;

  Status status() const { return status_; }
  // Why the file is not open: the system's reason (kCannotOpen) or what kind
  // of thing the path names, such as "a folder" (kNotRegular).
  const std::string& reason() const { return reason_; }

  // Puts the next line, without its line end, into `line` and returns true;
  // returns false at the end of the file. A last line without a line end is
  // a line; an empty last line without one is not. Raises an Error naming
  // the file when reading fails.
  bool next(std::string& line);

  // Reads whatever the lines have not yet consumed and returns the SHA-256
  // of every byte of the file (64 lower-case hex digits). Call once, last.
  std::string finish_sha256();

 private:
  bool fill();  // reads the next block; false at the end of the file

  std::string path_;
  int fd_ = -1;
  Status status_ = Status::kCannotOpen;
  std::string reason_;
  std::vector<char> block_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool at_end_ = false;
  std::size_t pending_cr_ = 0;    // carriage returns met after the current line
  std::size_t queued_empty_ = 0;  // empty lines those returns ended, still to be handed out
  Sha256 sha_;
};

}  // namespace lumivar::runtime
