#include "app/preview/latest_worker.h"

namespace brindle {

LatestWorker::LatestWorker() : thread_([this](std::stop_token stop) { Work(stop); }) {}

LatestWorker::~LatestWorker() {
  thread_.request_stop();
  wake_.notify_all();
  thread_.join();
}

void LatestWorker::Post(std::function<void()> job) {
  {
    std::lock_guard lock(mutex_);
    waiting_ = std::move(job);
  }
  wake_.notify_one();
}

void LatestWorker::Work(std::stop_token stop) {
  while (true) {
    std::function<void()> job;
    {
      std::unique_lock lock(mutex_);
      if (!wake_.wait(lock, stop, [this] { return waiting_.has_value(); })) return;
      job = std::move(*waiting_);
      waiting_.reset();
    }
    job();
  }
}

}  // namespace brindle
