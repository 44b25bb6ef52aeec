#include "app/preview_worker.h"

#include "base/info_log.h"
#include "run/effect_preview.h"

namespace brindle {

PreviewWorker::PreviewWorker(QObject* parent)
    : QObject(parent), thread_([this](std::stop_token stop) { Work(stop); }) {}

PreviewWorker::~PreviewWorker() {
  thread_.request_stop();
  wake_.notify_all();
  thread_.join();
}

void PreviewWorker::Request(PreviewRequest request) {
  {
    std::lock_guard lock(mutex_);
    waiting_ = std::move(request);
  }
  wake_.notify_one();
}

void PreviewWorker::Forget() {
  {
    std::lock_guard lock(mutex_);
    waiting_.reset();
    forget_ = true;
  }
  wake_.notify_one();
}

void PreviewWorker::Work(std::stop_token stop) {
  // Only this thread touches the maker and its kept picture.
  EffectPreviewMaker maker;
  while (true) {
    PreviewRequest request;
    {
      std::unique_lock lock(mutex_);
      if (!wake_.wait(lock, stop, [this] { return waiting_ || forget_; })) return;
      if (forget_) {
        forget_ = false;
        maker.Forget();
        continue;
      }
      request = std::move(*waiting_);
      waiting_.reset();
    }
    std::optional<EffectPreview> made =
        maker.Make(request.recipe, request.path, request.flip, request.rotation);
    QImage image;
    if (made) {
      image.loadFromData(reinterpret_cast<const uchar*>(made->display_jpeg.data()),
                         static_cast<int>(made->display_jpeg.size()), "JPEG");
      if (image.isNull()) {
        LogInfo(FormatMessage("无法显示预览图片:\r\n%s", request.path.c_str()));
      }
    }
    if (image.isNull()) {
      emit Made(request.generation, image, {}, {});
      continue;
    }
    emit Made(request.generation, image, QString::fromStdString(made->source_status),
              QString::fromStdString(made->result_status));
  }
}

}  // namespace brindle
