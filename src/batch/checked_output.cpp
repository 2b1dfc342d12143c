#include "batch/checked_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <streambuf>
#include <vector>

#include "runtime/error.h"

namespace lumivar::batch {

namespace {

// Large writes go out in pieces of this size, so that a raised cancel is
// heard within a fraction of a second even on a slow disk.
constexpr std::size_t kPiece = std::size_t{1} << 20;

bool is_open(int fd) { return fcntl(fd, F_GETFD) != -1 || errno != EBADF; }

// Points the descriptor `fd` at /dev/null (it is closed on entry).
void hold_with_null(int fd) {
  const int null = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
  if (null >= 0 && null != fd) {
    dup2(null, fd);
    ::close(null);
  }
}

}  // namespace

int write_all(int fd, std::string_view bytes, const std::atomic<bool>* cancel) {
  while (!bytes.empty()) {
    if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) return ECANCELED;
    const ssize_t n = ::write(fd, bytes.data(), std::min(bytes.size(), kPiece));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return EIO;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

std::string cannot_write(const std::string& what, int error) {
  return "Cannot write " + what + ": " + std::strerror(error) + ".";
}

class StandardOutput::Buffer : public std::streambuf {
 public:
  Buffer() : space_(64 * 1024) {
    for (int fd = 0; fd <= 2; ++fd) {
      if (is_open(fd)) continue;
      if (fd == 1) error_ = EBADF;
      hold_with_null(fd);
    }
    setp(space_.data(), space_.data() + space_.size());
  }

  int close() {
    sync();
    if (!closed_) {
      closed_ = true;
      if (::close(1) != 0 && error_ == 0 && errno != EINTR) error_ = errno;
      hold_with_null(1);
    }
    return error_;
  }

 protected:
  int_type overflow(int_type c) override {
    if (sync() != 0) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }

  int sync() override {
    const std::string_view pending(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    setp(space_.data(), space_.data() + space_.size());
    if (error_ == 0 && !pending.empty()) error_ = closed_ ? EBADF : write_all(1, pending);
    return error_ == 0 ? 0 : -1;
  }

 private:
  std::vector<char> space_;
  int error_ = 0;  // errno of the first failure; later output is dropped
  bool closed_ = false;
};

StandardOutput::StandardOutput() : std::ostream(nullptr), buffer_(std::make_unique<Buffer>()) {
  rdbuf(buffer_.get());
}

StandardOutput::~StandardOutput() { buffer_->pubsync(); }

int StandardOutput::close() { return buffer_->close(); }

void finish_output(std::ostream& out, const std::string& what) {
  out.flush();
  if (auto* standard = dynamic_cast<StandardOutput*>(&out)) {
    if (const int error = standard->close(); error != 0)
      runtime::raise(cannot_write(what + " to standard output", error));
  } else if (!out) {
    runtime::raise("Cannot write " + what + ": the output stream failed.");
  }
}

void write_file_whole(const std::string& path, std::string_view bytes) {
  namespace fs = std::filesystem;
  const fs::path target(path);
  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  std::string temporary = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
  const int fd = mkstemp(temporary.data());
  if (fd < 0) runtime::raise(cannot_write(path, errno));
  int error = write_all(fd, bytes);
  if (error == 0 && fsync(fd) != 0 && errno != EINVAL) error = errno;
  if (::close(fd) != 0 && error == 0 && errno != EINTR) error = errno;
  // mkstemp makes the file readable by its owner only; a picture is as
  // readable as any other file this user makes.
  const mode_t mask = umask(0);
  umask(mask);
  if (error == 0 && chmod(temporary.c_str(), 0666 & ~mask) != 0) error = errno;
  if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    unlink(temporary.c_str());
    runtime::raise(cannot_write(path, error));
  }
}

}  // namespace lumivar::batch
