// Where the digest workers leave finished digests for the UI thread, which takes them in one go:
// one wake-up per batch rather than one queued call per file.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "resultlist/result_list.h"

namespace corvale::duplicates {

struct DigestReport {
  std::uint64_t run = 0;
  std::size_t candidate = 0;
  std::optional<resultlist::Digest> digest;
};

class DigestInbox {
 public:
  // Any thread. True when the inbox was empty: then the caller wakes the taker, once per batch.
  bool Post(const DigestReport& report) {
    std::lock_guard lock(mutex_);
    reports_.push_back(report);
    return reports_.size() == 1;
  }
  // Everything posted so far.
  std::vector<DigestReport> Take() {
    std::lock_guard lock(mutex_);
    return std::exchange(reports_, {});
  }

 private:
  std::mutex mutex_;
  std::vector<DigestReport> reports_;
};

}  // namespace corvale::duplicates
