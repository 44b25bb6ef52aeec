#include "app/preview/preview_worker.h"

#include "base/info_log.h"

namespace brindle {

void PreviewWorker::Request(PreviewRequest request) {
  requests_.Ask([this, request = std::move(request)] {
    return [this, made = Make(request)] {
      emit Made(made.image, made.source_status, made.result_status);
    };
  });
}

void PreviewWorker::Forget() {
  requests_.Cancel();
  requests_.Run([this] { maker_.Forget(); });
}

PreviewWorker::MadePreview PreviewWorker::Make(const PreviewRequest& request) {
  std::optional<EffectPreview> made =
      maker_.Make(request.recipe, request.path, request.flip, request.rotation);
  QImage image;
  if (made) {
    image.loadFromData(reinterpret_cast<const uchar*>(made->display_jpeg.data()),
                       static_cast<int>(made->display_jpeg.size()), "JPEG");
    if (image.isNull()) LogInfo(FormatMessage("无法显示预览图片:\r\n%s", request.path.c_str()));
  }
  if (image.isNull()) return {image, {}, {}};
  return {image, QString::fromStdString(made->source_status),
          QString::fromStdString(made->result_status)};
}

}  // namespace brindle
