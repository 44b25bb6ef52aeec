#pragma once
// One thread that runs the newest job posted to it: a job still waiting when a newer one comes is
// dropped, so a window asking for previews faster than they are made only ever waits for the
// latest. A job hands its result to the window itself, through a queued call.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace brindle {

class LatestWorker {
 public:
  LatestWorker();
  // Finishes the job in hand; a waiting one is dropped.
  ~LatestWorker();
  LatestWorker(const LatestWorker&) = delete;
  LatestWorker& operator=(const LatestWorker&) = delete;

  void Post(std::function<void()> job);

 private:
  void Work(std::stop_token stop);

  std::mutex mutex_;
  std::condition_variable_any wake_;
  std::optional<std::function<void()>> waiting_;
  std::jthread thread_;
};

}  // namespace brindle
