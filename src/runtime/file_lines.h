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
//
// A long read can be watched: a progress hook hears, after every block, the
// bytes read so far against the file's size.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "runtime/sha256.h"

namespace lumivar::runtime {

// Told `bytes_read` of `file_bytes` after every block read, and once more
// at the end with both equal. The size is the one the file had when opened,
// raised to what was read when the file grew meanwhile (or its size was not
// known), so bytes_read never goes back nor passes file_bytes; at the end
// file_bytes is what was read (less than the size of a file that shrank
// meanwhile). The hook may raise to stop the read: the error reaches
// whoever asked for the line.
using ReadProgress = std::function<void(std::uint64_t bytes_read, std::uint64_t file_bytes)>;

class FileLines {
 public:
  enum class Status { kOpen, kCannotOpen, kNotRegular };

  // Opens `path` for reading; check status() before reading.
  explicit FileLines(const std::string& path);
  ~FileLines();
  FileLines(const FileLines&) = delete;
  FileLines& operator=(const FileLines&) = delete;

  Status status() const { return status_; }
  // The file's size when it was opened (0 when not open).
  std::uint64_t size() const { return size_; }
  // Watches the reads from now on (see ReadProgress).
  void on_progress(ReadProgress hook) { progress_ = std::move(hook); }
  // Why the file is not open: the system's reason (kCannotOpen) or what kind
  // of thing the path names, such as "a folder" (kNotRegular).
  const std::string& reason() const { return reason_; }

  // Puts the next line, without its line end, into `line` and returns true;
  // returns false at the end of the file. A last line without a line end is
  // a line; an empty last line without one is not. Raises an Error naming
  // the file when reading fails, and when the first line shows a file
  // written in UTF-16 or UTF-32 (text_encoding.h).
  bool next(std::string& line);

  // Reads whatever the lines have not yet consumed and returns the SHA-256
  // of every byte of the file (64 lower-case hex digits). Call once, last.
  std::string finish_sha256();

 private:
  bool fill();  // reads the next block; false at the end of the file
  bool next_line(std::string& line);
  void report();

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
  std::size_t lines_ = 0;         // lines handed out
  Sha256 sha_;
  std::uint64_t size_ = 0;
  std::uint64_t read_ = 0;
  ReadProgress progress_;
};

}  // namespace lumivar::runtime
