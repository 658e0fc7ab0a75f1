// The digest of one candidate file: opened on the UI thread, read in 5 MiB chunks on the digest
// worker, reported back whether it succeeded or not, so that every duplicate run ends.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace corvale::duplicates {

inline constexpr std::size_t kDigestChunkBytes = 5 * 1024 * 1024;

struct DigestJob {
  int fd = -1;                    // owned by the job; -1 when the file could not be opened
  std::int64_t expectedSize = 0;  // what the directory said when the job was made
  std::string path;
  // Called on the worker with the digest text, or "" when the file could not be read whole at
  // its expected size. Not called when the job was cancelled.
  std::function<void(const std::string& digest)> done;
};

// Opens the file and takes its size. A file that cannot be opened still makes a job, which
// reports an empty digest.
DigestJob MakeDigestJob(const std::string& path,
                        std::function<void(const std::string& digest)> done);

// Reads the job's file from its start and returns its digest, or "" when a read fails, when
// the file ends before its expected size, or when its size changed while it was read. Closes
// the file. Gives up between chunks once cancelled is set.
std::string ComputeDigest(DigestJob& job, const std::atomic<bool>& cancelled);

// The pool's job function: computes the digest and reports it through job.done.
void RunDigestJob(DigestJob& job, const std::atomic<bool>& cancelled);

}  // namespace corvale::duplicates
