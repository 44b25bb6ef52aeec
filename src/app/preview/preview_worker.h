#pragma once
// Makes the effect preview on a thread of its own, so the window stays responsive while a large
// picture is processed. Only the newest request counts: one still waiting is replaced by a newer
// one, and the result of an older one is dropped; the wait cursor shows until the newest result.
// Between requests the thread keeps the last picture it decoded, so a change in the panel is
// applied without decoding the file again.

#include <QImage>
#include <QObject>
#include <QString>
#include <filesystem>

#include "app/preview/latest_request.h"
#include "engine/process/run_recipe.h"
#include "run/preview/effect_preview.h"

namespace brindle {

struct PreviewRequest {
  RunRecipe recipe;
  std::filesystem::path path;
  int flip = 0;
  int rotation = 0;
};

class PreviewWorker : public QObject {
  Q_OBJECT

 public:
  explicit PreviewWorker(QObject* parent = nullptr) : QObject(parent) {}

  void Request(PreviewRequest request);
  // Drops a result still to come and lets the kept picture go (the preview was closed).
  void Forget();

 signals:
  // The image is null when the preview could not be made; why is in the information log.
  void Made(const QImage& image, const QString& source_status, const QString& result_status);

 private:
  struct MadePreview {
    QImage image;
    QString source_status;
    QString result_status;
  };
  MadePreview Make(const PreviewRequest& request);

  EffectPreviewMaker maker_;  // touched only on the worker's thread
  LatestRequest requests_{LatestRequest::Cursor::kWait};  // last: its thread ends before the maker

};

}  // namespace brindle
