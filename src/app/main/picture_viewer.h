#pragma once
// "查看图片": one picture of the list at full size in a window of its own.

#include <QWidget>

namespace brindle {

class PicturePane;

class PictureViewer : public QWidget {
  Q_OBJECT

 public:
  explicit PictureViewer(QWidget* parent = nullptr);

  // Shows the file (a JPEG copy of it when Qt cannot show it as it is); false, with the log line,
  // when it cannot be read.
  bool ShowFile(const QString& path, const QString& temp_folder);
  PicturePane* pane() const { return pane_; }

 private:
  PicturePane* pane_;
};

}  // namespace brindle
