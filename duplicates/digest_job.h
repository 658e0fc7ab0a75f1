// The digest of one candidate file, read in 5 MiB chunks on a digest worker and reported whether
// it succeeded or not, so that every duplicate run ends. A job opens its file only when a worker
// starts it and closes it when it ends: the descriptors a run holds never grow with the number of
// candidates.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "resultlist/result_list.h"

namespace corvale::duplicates {

inline constexpr std::size_t kDigestChunkBytes = 5 * 1024 * 1024;

struct DigestJob {
  std::string path;
  // The file as it was listed: only that very file, at that size, is digested.
  std::int64_t expectedSize = 0;
  dev_t device = 0;
  ino_t inode = 0;
  std::size_t candidate = 0;  // the job's place among the candidates of its run
  // Called on the worker with the digest, or nothing when the file could not be read whole as
  // listed. Not called when the job was cancelled.
  std::function<void(std::size_t candidate, const std::optional<resultlist::Digest>& digest)> done;
};

// Opens the job's file and returns its digest, or nothing when it cannot be opened or read, when
// it is no longer the listed file (another device, inode or size), or when its size changed while
// it was read. Gives up between chunks once cancelled is set.
std::optional<resultlist::Digest> ComputeDigest(const DigestJob& job,
                                                const std::atomic<bool>& cancelled);

// The pool's job function: computes the digest and reports it through job.done.
void RunDigestJob(DigestJob& job, const std::atomic<bool>& cancelled);

}  // namespace corvale::duplicates
