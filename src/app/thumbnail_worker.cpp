#include "app/thumbnail_worker.h"

#include "base/info_log.h"
#include "shell/thumbnail.h"

namespace brindle {

QString ThumbnailKey(const QString& path, int rotation, bool flipped) {
  return QString("%1|%2|%3").arg(rotation).arg(flipped ? 1 : 0).arg(path);
}

ThumbnailWorker::ThumbnailWorker(QObject* parent)
    : QObject(parent), thread_([this](std::stop_token stop) { Work(stop); }) {}

ThumbnailWorker::~ThumbnailWorker() {
  thread_.request_stop();
  wake_.notify_all();
  thread_.join();
}

void ThumbnailWorker::Request(const ThumbnailRequest& request) {
  {
    std::lock_guard lock(mutex_);
    if (!waiting_keys_.insert(request.key).second) return;
    waiting_.push_back(request);
  }
  wake_.notify_one();
}

void ThumbnailWorker::Clear() {
  std::lock_guard lock(mutex_);
  waiting_.clear();
  waiting_keys_.clear();
}

int ThumbnailWorker::pending() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(waiting_.size()) + in_hand_;
}

void ThumbnailWorker::Work(std::stop_token stop) {
  while (true) {
    ThumbnailRequest request;
    {
      std::unique_lock lock(mutex_);
      if (!wake_.wait(lock, stop, [this] { return !waiting_.empty(); })) return;
      request = std::move(waiting_.back());
      waiting_.pop_back();
      waiting_keys_.erase(request.key);
      ++in_hand_;
    }
    Thumbnail thumbnail =
        MakeThumbnail(request.path.toStdString(), request.rotation, request.flipped);
    QImage image;
    if (thumbnail.rgba.empty()) {
      LogInfo(thumbnail.failure);
    } else {
      image = QImage(thumbnail.rgba.data(), kThumbnailSide, kThumbnailSide, kThumbnailSide * 4,
                     QImage::Format_RGBA8888)
                  .copy();
    }
    bool idle = false;
    {
      std::lock_guard lock(mutex_);
      --in_hand_;
      idle = waiting_.empty();
    }
    emit Made(request.key, image);
    if (idle) emit Idle();
  }
}

}  // namespace brindle
