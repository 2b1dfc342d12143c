#include "batch/new_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "batch/checked_output.h"
#include "runtime/error.h"

namespace lumivar::batch {

namespace {

namespace fs = std::filesystem;

std::string reason(int error) { return std::strerror(error); }

[[noreturn]] void refuse_existing(const std::string& path) {
  runtime::raise("The folder " + path + " already exists; nothing was written. Give a folder that does " +
                 "not exist yet: the import makes it.");
}

// Moves `from` to `to` unless something is at `to`; returns 0 or an errno
// (EEXIST or ENOTEMPTY when something is there).
int rename_no_replace(const std::string& from, const std::string& to) {
#ifdef RENAME_NOREPLACE
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
#endif
  // Without the flag (an older kernel, some network file systems), a plain
  // rename of a folder still fails onto a file, a link or a folder that
  // holds anything; only an empty folder made in the meantime is replaced.
  return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

// The temporary folder and what this process made on the way, removed
// unless published.
class FolderInProgress {
 public:
  explicit FolderInProgress(const fs::path& target) : target_(target) {}
  ~FolderInProgress() { remove(); }
  FolderInProgress(const FolderInProgress&) = delete;
  FolderInProgress& operator=(const FolderInProgress&) = delete;

  // Makes the missing folders above the target and the temporary folder.
  void begin() {
    make_parents(target_.parent_path());
    temporary_ = (parent() / ("." + target_.filename().string() + ".XXXXXX")).string();
    if (mkdtemp(temporary_.data()) == nullptr) {
      const int error = errno;
      temporary_.clear();
      runtime::raise("Cannot make the folder " + target_.string() + ": " + reason(error) + ".");
    }
    fd_ = open(temporary_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd_ < 0) fail(target_.string(), errno);
  }
  // Writes one file; raises as make_new_folder says.
  void write(const std::string& name, const std::string& bytes, const std::atomic<bool>* cancel) {
    const std::string shown = (target_ / name).string();
    const int fd = openat(fd_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) fail(shown, errno);
    written_.push_back(name);
    int error = write_all(fd, bytes, cancel);
    if (error == 0 && fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0 && errno != EINTR) error = errno;
    if (error == ECANCELED) cancelled();
    if (error != 0) fail(shown, error);
  }

  void publish(const std::atomic<bool>* cancel) {
    if (cancel != nullptr && cancel->load()) cancelled();
    // mkdtemp makes a folder only its owner may enter; the study's folder
    // is as open as any other this user makes.
    const mode_t mask = umask(0);
    umask(mask);
    if (fchmod(fd_, 0777 & ~mask) != 0 || fsync(fd_) != 0) fail(target_.string(), errno);
    const int error = rename_no_replace(temporary_, target_.string());
    if (error == EEXIST || error == ENOTEMPTY) refuse_existing(target_.string());
    if (error != 0) runtime::raise("Cannot make the folder " + target_.string() + ": " + reason(error) + ".");
    published_ = true;
  }

 private:
  fs::path parent() const { return target_.parent_path().empty() ? fs::path(".") : target_.parent_path(); }

  // Makes the missing folders of `folder`, oldest first, keeping their names
  // so that a failure removes them again.
  void make_parents(const fs::path& folder) {
    if (folder.empty()) return;
    struct stat st {};
    if (stat(folder.c_str(), &st) == 0) {
      if (!S_ISDIR(st.st_mode)) runtime::raise("Cannot make the folder " + target_.string() + ": " +
                                               folder.string() + " is not a folder.");
      return;
    }
    if (const int error = errno; error != ENOENT)
      runtime::raise("Cannot look into the folder " + folder.string() + ": " + reason(error) + ".");
    make_parents(folder.parent_path());
    if (mkdir(folder.c_str(), 0777) == 0) {
      made_.push_back(folder);
    } else if (const int error = errno; error != EEXIST) {  // EEXIST: another process made it meanwhile
      runtime::raise("Cannot make the folder " + folder.string() + ": " + reason(error) + ".");
    }
  }

  [[noreturn]] void fail(const std::string& what, int error) { runtime::raise(cannot_write(what, error)); }

  [[noreturn]] void cancelled() {
    runtime::raise_cancelled("The import into " + target_.string() + " was cancelled; nothing was written.");
  }

  void remove() {
    if (published_) return;
    if (fd_ >= 0) {
      for (const std::string& name : written_) unlinkat(fd_, name.c_str(), 0);
      ::close(fd_);
      fd_ = -1;
    }
    if (!temporary_.empty()) rmdir(temporary_.c_str());
    // Only folders still empty go: another process may have put something in one.
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) rmdir(it->c_str());
    made_.clear();
  }

  fs::path target_;
  std::string temporary_;
  int fd_ = -1;
  std::vector<std::string> written_;
  std::vector<fs::path> made_;
  bool published_ = false;
};

}  // namespace

void make_new_folder(const std::string& path, const FolderFiles& files, const std::atomic<bool>* cancel,
                     const std::function<void()>& before_rename) {
  // "out/" names the folder out; its name is needed for the one beside it.
  fs::path given(path);
  if (!given.has_filename()) given = given.parent_path();
  const std::string name = given.filename().string();
  if (name.empty() || name == "." || name == "..")
    runtime::raise("Cannot make the folder " + path + ": give the name of a new folder.");
  const fs::path target = given.lexically_normal();
  struct stat st {};
  if (lstat(target.c_str(), &st) == 0) refuse_existing(target.string());
  // ENOTDIR: a file where a folder above it should be, said when making that folder.
  if (const int error = errno; error != ENOENT && error != ENOTDIR)
    runtime::raise("Cannot look into the folder " + target.parent_path().string() + ": " + reason(error) + ".");
  FolderInProgress folder(target);
  folder.begin();
  for (const auto& [file, bytes] : files) folder.write(file, bytes, cancel);
  if (before_rename) before_rename();
  folder.publish(cancel);
}

}  // namespace lumivar::batch
