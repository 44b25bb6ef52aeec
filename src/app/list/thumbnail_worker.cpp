#include "app/list/thumbnail_worker.h"

#include <malloc.h>

#include "base/info_log.h"
#include "platform/magick/pixel_memory_pool.h"
#include "window_rules/list/thumbnail.h"

namespace brindle {

QString ThumbnailKey(const QString& path, int rotation, bool flipped) {
  return QString("%1|%2|%3").arg(rotation).arg(flipped ? 1 : 0).arg(path);
}

ThumbnailWorker::ThumbnailWorker(std::filesystem::path shared_folder, int workers, QObject* parent)
    : QObject(parent), shared_folder_(std::move(shared_folder)) {
  if (workers <= 0) workers = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  for (int i = 0; i < workers; ++i) {
    threads_.emplace_back([this](std::stop_token stop) { Work(stop); });
  }
}

ThumbnailWorker::~ThumbnailWorker() {
  for (std::jthread& thread : threads_) thread.request_stop();
  wake_.notify_all();
  threads_.clear();
}

void ThumbnailWorker::Request(const ThumbnailRequest& request, int round) {
  {
    std::lock_guard lock(mutex_);
    auto known = places_.find(request.key);
    if (known != places_.end()) {
      if (request.fresh) waiting_[known->second].fresh = true;
      if (known->second.round >= round) return;
      auto node = waiting_.extract(known->second);
      node.key() = Place{round, request.row, ++asked_};
      known->second = node.key();
      waiting_.insert(std::move(node));
      return;
    }
    const Place place{round, request.row, ++asked_};
    waiting_.emplace(place, request);
    places_.emplace(request.key, place);
  }
  wake_.notify_one();
}

void ThumbnailWorker::Clear() {
  std::lock_guard lock(mutex_);
  waiting_.clear();
  places_.clear();
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
      request = std::move(waiting_.begin()->second);
      waiting_.erase(waiting_.begin());
      places_.erase(request.key);
      ++in_hand_;
    }
    emit Started(request.row);
    ThumbnailOrder order{request.rotation, request.flipped, shared_folder_, !request.fresh};
    Thumbnail thumbnail = MakeThumbnail(request.path.toStdString(), order);
    QImage image;
    if (thumbnail.rgba.empty()) {
      LogInfo(thumbnail.failure);
    } else {
      image = QImage(thumbnail.rgba.data(), kThumbnailSide, kThumbnailSide, kThumbnailSide * 4,
                     QImage::Format_RGBA8888)
                  .convertToFormat(QImage::Format_RGB32);
    }
    bool idle = false;
    {
      std::lock_guard lock(mutex_);
      --in_hand_;
      idle = waiting_.empty() && in_hand_ == 0;
    }
    emit Made(request.key, image, request.fresh);
    if (idle) {
      // The decoded photographs are gone; the memory they took goes back to the system rather than
      // staying with the process while the list is only looked at.
      ReleasePixelMemoryPool();
      malloc_trim(0);
      emit Idle();
    }
  }
}

}  // namespace brindle
