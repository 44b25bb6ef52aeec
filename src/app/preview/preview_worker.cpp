#include "app/preview/preview_worker.h"

#include "base/info_log.h"

namespace brindle {

void PreviewWorker::Request(PreviewRequest request) {
  worker_.Post([this, request = std::move(request)] { Make(request); });
}

void PreviewWorker::Forget() {
  worker_.Post([this] { maker_.Forget(); });
}

void PreviewWorker::Make(const PreviewRequest& request) {
  std::optional<EffectPreview> made =
      maker_.Make(request.recipe, request.path, request.flip, request.rotation);
  QImage image;
  if (made) {
    image.loadFromData(reinterpret_cast<const uchar*>(made->display_jpeg.data()),
                       static_cast<int>(made->display_jpeg.size()), "JPEG");
    if (image.isNull()) LogInfo(FormatMessage("无法显示预览图片:\r\n%s", request.path.c_str()));
  }
  if (image.isNull()) {
    emit Made(request.generation, image, {}, {});
    return;
  }
  emit Made(request.generation, image, QString::fromStdString(made->source_status),
            QString::fromStdString(made->result_status));
}

}  // namespace brindle
