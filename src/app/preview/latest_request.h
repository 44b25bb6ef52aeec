#pragma once
// Previews asked for faster than they are made: each request is numbered, its job runs on one
// worker thread (a job still waiting when a newer one comes is dropped), and its result is handed
// back on the window's thread only while it is still the latest. The wait cursor, where one is
// wanted, shows once from the first request to the latest result or a cancel.

#include <QObject>
#include <functional>
#include <utility>

#include "app/preview/latest_worker.h"

namespace brindle {

class LatestRequest : public QObject {
 public:
  enum class Cursor { kKeep, kWait };
  explicit LatestRequest(Cursor cursor = Cursor::kKeep) : cursor_(cursor) {}
  // The cursor comes back; the job in hand finishes and its result is dropped.
  ~LatestRequest() override;

  // make runs on the worker thread and returns what shows its result; that runs on the window's
  // thread, unless a newer request or a cancel came in between. Both are copied.
  template <typename Make>
  void Ask(Make make) {
    const int generation = Begin();
    worker_.Post([this, generation, make = std::move(make)] {
      QMetaObject::invokeMethod(
          this,
          [this, generation, show = make()] {
            if (Finish(generation)) show();
          },
          Qt::QueuedConnection);
    });
  }
  // A job with nothing to hand back, run on the worker thread after the one in hand (a request
  // still waiting is dropped, as by any newer job).
  void Run(std::function<void()> job) { worker_.Post(std::move(job)); }
  // A result still to come is dropped and the cursor comes back.
  void Cancel();
  // A request is out and its result has not been shown.
  bool pending() const { return waiting_; }

 private:
  int Begin();
  bool Finish(int generation);
  void EndWait();

  const Cursor cursor_;
  int generation_ = 0;    // of the latest request; results of earlier ones are dropped
  bool waiting_ = false;  // the latest request's result is still to come
  LatestWorker worker_;   // last: its thread ends before the rest goes
};

}  // namespace brindle
