#include "runtime/file_lines.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "runtime/error.h"
#include "runtime/text_encoding.h"

namespace lumivar::runtime {
namespace {

constexpr std::size_t kBlockBytes = std::size_t{1} << 16;

const char* kind_of(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a named pipe (FIFO)";
  if (S_ISSOCK(mode)) return "a socket";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  return "a special file";
}

}  // namespace

FileLines::FileLines(const std::string& path) : path_(path) {
  struct stat st {};
  // Look before opening: opening a device can have effects of its own.
  if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    status_ = Status::kNotRegular;
    reason_ = kind_of(st.st_mode);
    return;
  }
  // Non-blocking, so that a FIFO put in the file's place meanwhile cannot
  // hang the open; the open file itself then decides.
  fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) {
    reason_ = std::strerror(errno);
    return;
  }
  if (::fstat(fd_, &st) != 0) {
    reason_ = std::strerror(errno);
    return;
  }
  if (!S_ISREG(st.st_mode)) {
    status_ = Status::kNotRegular;
    reason_ = kind_of(st.st_mode);
    return;
  }
  status_ = Status::kOpen;
  size_ = static_cast<std::uint64_t>(st.st_size);
  block_.resize(kBlockBytes);
}

FileLines::~FileLines() {
  if (fd_ >= 0) ::close(fd_);
}

bool FileLines::fill() {
  if (at_end_ || status_ != Status::kOpen) return false;
  ssize_t n = 0;
  do {
    n = ::read(fd_, block_.data(), block_.size());
  } while (n < 0 && errno == EINTR);
  if (n < 0) raise("Cannot read the file " + path_ + " (" + std::strerror(errno) + ").");
  if (n == 0) {
    at_end_ = true;
    report();
    return false;
  }
  sha_.update(std::string_view(block_.data(), static_cast<std::size_t>(n)));
  pos_ = 0;
  end_ = static_cast<std::size_t>(n);
  read_ += static_cast<std::uint64_t>(n);
  report();
  return true;
}

void FileLines::report() {
  if (!progress_) return;
  // At the end the bytes read are the size, whatever the file said before:
  // a file that shrank or grew meanwhile still ends at 100 %. (fill() meets
  // the end once: it reads nothing more after.)
  progress_(read_, at_end_ ? read_ : std::max(size_, read_));
}

bool FileLines::next(std::string& line) {
  if (!next_line(line)) return false;
  if (lines_++ == 0) check_not_wide(line, path_);
  return true;
}

bool FileLines::next_line(std::string& line) {
  line.clear();
  if (queued_empty_ > 0) {
    --queued_empty_;
    return true;
  }
  while (true) {
    if (pos_ == end_ && !fill()) {
      if (pending_cr_ > 0) {
        queued_empty_ = pending_cr_ - 1;
        pending_cr_ = 0;
        return true;
      }
      return !line.empty();
    }
    const char* p = block_.data();
    while (pos_ < end_) {
      const char c = p[pos_];
      if (pending_cr_ > 0) {
        if (c == '\r') {
          ++pending_cr_;
          ++pos_;
          continue;
        }
        if (c == '\n') ++pos_;  // CR... LF: one line end
        // Otherwise the first return ended this line and each further one
        // an empty line; c begins the line after them.
        queued_empty_ = c == '\n' ? 0 : pending_cr_ - 1;
        pending_cr_ = 0;
        return true;
      }
      if (c == '\n') {
        ++pos_;
        return true;
      }
      if (c == '\r') {
        pending_cr_ = 1;
        ++pos_;
        continue;
      }
      const std::size_t start = pos_;
      while (pos_ < end_ && p[pos_] != '\n' && p[pos_] != '\r') ++pos_;
      line.append(p + start, pos_ - start);
    }
  }
}

std::string FileLines::finish_sha256() {
  while (fill()) {
  }
  return sha_.hex_digest();
}

}  // namespace lumivar::runtime
