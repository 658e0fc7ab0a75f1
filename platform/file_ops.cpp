#include "platform/file_ops.h"

#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace corvale::platform {
namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || close(fd) == 0;
  }

 private:
  int fd_;
};

bool CopyContents(int from, int to) {
  // copy_file_range shares extents where the file system can; a plain loop everywhere else.
  for (;;) {
    const ssize_t n = copy_file_range(from, nullptr, to, nullptr, 1 << 30, 0);
    if (n == 0) return true;
    if (n > 0) continue;
    if (errno == EINTR) continue;
    if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP) break;
    return false;
  }
  std::vector<char> buffer(1 << 20);
  for (;;) {
    const ssize_t n = read(from, buffer.data(), buffer.size());
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    for (ssize_t done = 0; done < n;) {
      const ssize_t w = write(to, buffer.data() + done, std::size_t(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) return false;
      done += w;
    }
  }
}

// Gives the file temp the name destination unless that name is taken.
TransferResult RenameNoReplace(const std::string& temp, const std::string& destination) {
  if (renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, destination.c_str(), RENAME_NOREPLACE) == 0) {
    return TransferResult::Done;
  }
  if (errno == EEXIST) return TransferResult::DestinationExists;
  if (errno != EINVAL && errno != ENOSYS) return TransferResult::Failed;
  // File systems without RENAME_NOREPLACE: link() refuses an existing name just as well.
  if (link(temp.c_str(), destination.c_str()) == 0) {
    unlink(temp.c_str());
    return TransferResult::Done;
  }
  return errno == EEXIST ? TransferResult::DestinationExists : TransferResult::Failed;
}

}  // namespace

bool IsFolder(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<PendingCopy> PendingCopy::Make(const std::string& source, const std::string& folder) {
  Fd from(open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat st {};
  if (from.get() < 0 || fstat(from.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  std::string tempPath;
  int fd = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
  if (fd < 0 && errno != ENOENT && errno != ENOTDIR && errno != EACCES) {
    tempPath = folder + "/.corvale-copy-XXXXXX";
    fd = mkostemp(tempPath.data(), O_CLOEXEC);
  }
  if (fd < 0) return std::nullopt;
  PendingCopy copy(fd, std::move(tempPath));
  const timespec times[2] = {st.st_atim, st.st_mtim};
  if (!CopyContents(from.get(), fd) || fchmod(fd, st.st_mode & 07777) != 0 ||
      futimens(fd, times) != 0) {
    return std::nullopt;  // the destructor throws the partial copy away
  }
  return copy;
}

PendingCopy::PendingCopy(PendingCopy&& other) noexcept
    : fd_(other.fd_), tempPath_(std::move(other.tempPath_)) {
  other.fd_ = -1;
  other.tempPath_.clear();
}

PendingCopy::~PendingCopy() {
  if (fd_ >= 0) close(fd_);
  if (!tempPath_.empty()) unlink(tempPath_.c_str());
}

TransferResult PendingCopy::Place(const std::string& destination) {
  if (fd_ < 0) return TransferResult::Failed;
  TransferResult result;
  if (tempPath_.empty()) {
    // linkat never replaces: a taken name fails with EEXIST.
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    result = linkat(AT_FDCWD, self.c_str(), AT_FDCWD, destination.c_str(), AT_SYMLINK_FOLLOW) == 0
                 ? TransferResult::Done
             : errno == EEXIST ? TransferResult::DestinationExists
                               : TransferResult::Failed;
  } else {
    result = RenameNoReplace(tempPath_, destination);
    if (result == TransferResult::Done) tempPath_.clear();
  }
  if (result == TransferResult::Done) {
    close(fd_);
    fd_ = -1;
  }
  return result;
}

TransferResult CopyFileNoReplace(const std::string& source, const std::string& destination) {
  auto copy = PendingCopy::Make(source, FolderOfPath(destination));
  return copy ? copy->Place(destination) : TransferResult::Failed;
}

TransferResult MoveFileNoReplace(const std::string& source, const std::string& destination) {
  if (renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, destination.c_str(), RENAME_NOREPLACE) == 0) {
    return TransferResult::Done;
  }
  if (errno == EEXIST) return TransferResult::DestinationExists;
  if (errno != EXDEV && errno != EINVAL) return TransferResult::Failed;
  struct stat st {};
  if (lstat(source.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return TransferResult::Failed;
  const TransferResult copied = CopyFileNoReplace(source, destination);
  if (copied != TransferResult::Done) return copied;
  if (unlink(source.c_str()) != 0) {
    // The source cannot go (read-only folder): keep both rather than report a move.
    unlink(destination.c_str());
    return TransferResult::Failed;
  }
  return TransferResult::Done;
}

bool DeleteFileStrict(const std::string& path) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  if (S_ISREG(st.st_mode) && !(st.st_mode & S_IWUSR)) return false;
  return unlink(path.c_str()) == 0;
}

}  // namespace corvale::platform
