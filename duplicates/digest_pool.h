// DigestPool: worker threads over a first-in-first-out job queue. The program starts it once
// with a worker per core; digests find their rows by identity, so the order in which the jobs
// end does not matter.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "duplicates/digest_job.h"

namespace corvale::duplicates {

class DigestPool {
 public:
  using JobFunction = std::function<void(DigestJob& job, const std::atomic<bool>& cancelled)>;

  DigestPool() = default;
  DigestPool(const DigestPool&) = delete;
  DigestPool& operator=(const DigestPool&) = delete;
  // Cancels what is queued or running and ends the workers.
  ~DigestPool();

  // Fails when already started. A worker count of 0 or less means 10.
  bool Start(JobFunction jobFunction, int workerCount);
  // Fails unless started.
  bool Submit(DigestJob job);
  // Drops the queued jobs, stops the running one between chunks and waits until it has ended;
  // the pool keeps running for later jobs. Jobs dropped or stopped report nothing.
  void CancelAndWait();

  // 0 not running, 1 running.
  int State() const { return state_; }

 private:
  void WorkerLoop();

  int state_ = 0;
  JobFunction jobFunction_;
  std::vector<std::thread> workers_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::deque<DigestJob> queue_;
  int running_ = 0;
  bool stopping_ = false;
  std::atomic<bool> cancelled_{false};
};

}  // namespace corvale::duplicates
