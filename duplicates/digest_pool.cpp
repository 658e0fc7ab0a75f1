#include "duplicates/digest_pool.h"

namespace corvale::duplicates {

DigestPool::~DigestPool() {
  CancelAndWait();
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  for (auto& worker : workers_) worker.join();
}

bool DigestPool::Start(JobFunction jobFunction, int workerCount) {
  if (state_ != 0) return false;
  if (workerCount <= 0) workerCount = 10;
  jobFunction_ = std::move(jobFunction);
  for (int i = 0; i < workerCount; ++i) workers_.emplace_back([this] { WorkerLoop(); });
  state_ = 1;
  return true;
}

bool DigestPool::Submit(DigestJob job) {
  if (state_ != 1) return false;
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(job));
  }
  wake_.notify_one();
  return true;
}

void DigestPool::CancelAndWait() {
  std::unique_lock lock(mutex_);
  queue_.clear();
  cancelled_ = true;
  idle_.wait(lock, [this] { return running_ == 0; });
  cancelled_ = false;
}

void DigestPool::WorkerLoop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (stopping_) return;
    DigestJob job = std::move(queue_.front());
    queue_.pop_front();
    ++running_;
    lock.unlock();
    jobFunction_(job, cancelled_);
    lock.lock();
    --running_;
    idle_.notify_all();
  }
}

}  // namespace corvale::duplicates
