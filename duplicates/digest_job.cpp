#include "duplicates/digest_job.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "duplicates/md5_digest.h"

namespace corvale::duplicates {
namespace {

// The job's file, open for as long as the job runs.
class OpenFile {
 public:
  // O_NONBLOCK: a path that became a FIFO since the search must not hang a worker.
  explicit OpenFile(const std::string& path)
      : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY)) {}
  ~OpenFile() {
    if (fd_ >= 0) close(fd_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

bool IsListedFile(int fd, const DigestJob& job) {
  struct stat st {};
  return fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_dev == job.device &&
         st.st_ino == job.inode && st.st_size == job.expectedSize;
}

}  // namespace

std::optional<resultlist::Digest> ComputeDigest(const DigestJob& job,
                                                const std::atomic<bool>& cancelled) {
  const OpenFile file(job.path);
  if (file.fd() < 0 || !IsListedFile(file.fd(), job)) return std::nullopt;
  // One buffer per worker thread, reused by every job: memory stays bounded by one chunk.
  thread_local std::unique_ptr<char[]> buffer(new char[kDigestChunkBytes]);
  posix_fadvise(file.fd(), 0, 0, POSIX_FADV_SEQUENTIAL);
  Md5Digest digest;
  digest.Begin();
  std::int64_t total = 0;
  while (total < job.expectedSize) {
    if (cancelled.load(std::memory_order_relaxed)) return std::nullopt;
    const ssize_t n = read(file.fd(), buffer.get(), kDigestChunkBytes);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return std::nullopt;  // a read error, or the file ended before its listed size
    digest.Add(buffer.get(), std::size_t(n));
    total += n;
  }
  // A file that grew or shrank while it was read is not judged by a part of it.
  if (total != job.expectedSize || !IsListedFile(file.fd(), job)) return std::nullopt;
  digest.Finish();
  return digest.Bytes();
}

void RunDigestJob(DigestJob& job, const std::atomic<bool>& cancelled) {
  const auto digest = ComputeDigest(job, cancelled);
  if (!cancelled.load() && job.done) job.done(job.candidate, digest);
}

}  // namespace corvale::duplicates
