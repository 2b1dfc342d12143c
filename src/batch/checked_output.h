#pragma once
// Output of the batch tool that is never lost without a word: every write is
// checked, the final flush and close too, and a failure becomes an Error that
// says what could not be written and the system's reason ("No space left on
// device", "Bad file descriptor"). Files are written whole or not at all.
#include <atomic>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace lumivar::batch {

// Standard output (descriptor 1) as a stream that keeps the first failed
// write with its errno and drops what follows. Constructing it keeps
// descriptors 0 to 2 taken: one the shell closed (">&-") is pointed at
// /dev/null, so that no file this program opens takes its number and
// receives what is meant for the terminal; a closed standard output counts
// as a failed write.
class StandardOutput : public std::ostream {
 public:
  StandardOutput();
  ~StandardOutput() override;
  StandardOutput(const StandardOutput&) = delete;
  StandardOutput& operator=(const StandardOutput&) = delete;
  // Flushes and closes the descriptor (pointing it at /dev/null after, so
  // that its number stays taken); returns 0 or the errno of the first
  // failure since construction. Writes after it are failures.
  int close();

  class Buffer;

 private:
  std::unique_ptr<Buffer> buffer_;
};

// Flushes `out` and, for a StandardOutput, closes its descriptor; raises
// "Cannot write WHAT to standard output: REASON." when anything written to
// it was lost. Any other stream is judged by its state.
void finish_output(std::ostream& out, const std::string& what);

// Writes all of `bytes` to the descriptor `fd`, a megabyte at a time; when
// `cancel` is raised between two pieces, stops and returns ECANCELED.
// Returns 0 or the errno of the failed write.
int write_all(int fd, std::string_view bytes, const std::atomic<bool>* cancel = nullptr);

// Writes `bytes` into a new temporary file beside `path` and renames it onto
// `path`: a reader sees the old file or the whole new one, never a part, and
// a link at `path` is replaced, not followed. On failure removes the
// temporary file and raises "Cannot write PATH: REASON."
void write_file_whole(const std::string& path, std::string_view bytes);

// "Cannot write WHAT: REASON." for the errno `error`.
std::string cannot_write(const std::string& what, int error);

}  // namespace lumivar::batch
