#include "app/main/picture_viewer.h"

#include <QFileInfo>
#include <QImageReader>
#include <QVBoxLayout>

#include "app/widgets/picture_pane.h"
#include "base/info_log.h"
#include "engine/read/viewable_copy.h"

namespace brindle {

PictureViewer::PictureViewer(QWidget* parent)
    : QWidget(parent, Qt::Window), pane_(new PicturePane(this)) {
  setWindowTitle("查看图片");
  resize(760, 580);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(pane_);
}

bool PictureViewer::ShowFile(const QString& path, const QString& temp_folder) {
  const std::filesystem::path source = path.toStdString();
  std::optional<std::filesystem::path> viewable =
      MakeViewableCopy(source, std::filesystem::path(temp_folder.toStdString()));
  if (!viewable) {
    LogInfo(FormatMessage("图片读取失败:\r\n%s", source.c_str()));
    return false;
  }
  if (!isVisible()) pane_->SetFit(false);
  QImageReader reader(QString::fromStdString(viewable->string()));
  QImage image = reader.read();
  setWindowTitle(QFileInfo(path).fileName());
  if (image.isNull()) {
    LogInfo(FormatMessage("图片读取失败:\r\n%s", source.c_str()));
    return false;
  }
  show();
  raise();
  activateWindow();
  pane_->ShowImage(std::move(image));
  return true;
}

}  // namespace brindle
