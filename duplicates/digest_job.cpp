#include "duplicates/digest_job.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "duplicates/md5_digest.h"

namespace corvale::duplicates {

DigestJob MakeDigestJob(const std::string& path,
                        std::function<void(const std::string& digest)> done) {
  DigestJob job;
  job.path = path;
  job.done = std::move(done);
  // O_NONBLOCK: a path that became a FIFO since the search must not hang the UI thread here.
  job.fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  struct stat st {};
  if (job.fd >= 0 && fstat(job.fd, &st) == 0 && S_ISREG(st.st_mode)) {
    job.expectedSize = st.st_size;
  } else if (job.fd >= 0) {
    close(job.fd);
    job.fd = -1;
  }
  return job;
}

std::string ComputeDigest(DigestJob& job, const std::atomic<bool>& cancelled) {
  if (job.fd < 0) return {};
  // One buffer per worker thread, reused by every job: memory stays bounded by one chunk.
  thread_local std::unique_ptr<char[]> buffer(new char[kDigestChunkBytes]);
  const int fd = job.fd;
  job.fd = -1;
  posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  Md5Digest digest;
  digest.Begin();
  std::int64_t total = 0;
  bool ok = lseek(fd, 0, SEEK_SET) == 0;
  while (ok && total < job.expectedSize && !cancelled.load(std::memory_order_relaxed)) {
    const ssize_t n = read(fd, buffer.get(), kDigestChunkBytes);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;  // a read error, or the file ended before its expected size
      break;
    }
    digest.Add(buffer.get(), std::size_t(n));
    total += n;
  }
  // The size must still be what it was when the job was made: a file that grew or shrank while
  // it was read is not judged by a part of it.
  struct stat st {};
  ok = ok && !cancelled.load() && total == job.expectedSize && fstat(fd, &st) == 0 &&
       st.st_size == job.expectedSize;
  close(fd);
  if (!ok) return {};
  digest.Finish();
  return digest.Text();
}

void RunDigestJob(DigestJob& job, const std::atomic<bool>& cancelled) {
  std::string digest = ComputeDigest(job, cancelled);
  if (!cancelled.load() && job.done) job.done(digest);
}

}  // namespace corvale::duplicates
