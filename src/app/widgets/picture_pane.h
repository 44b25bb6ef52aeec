#pragma once
// One picture at natural size with scroll bars, or shrunk to fit after a double click; the zoom
// in use goes into the title of the window that owns the pane.

#include <QAbstractScrollArea>
#include <QImage>

namespace brindle {

class PicturePane : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit PicturePane(QWidget* parent = nullptr);

  void ShowImage(QImage image);
  // A new picture in place of the shown one (a refreshed preview): the scroll positions are put
  // back when either was above 0.
  void ReplaceImage(QImage image);
  void Clear();
  void SetFit(bool fit);
  bool fit() const { return fit_; }
  float zoom() const { return zoom_; }
  const QImage& image() const { return image_; }
  // The picture's size on the screen at zoom 1: its physical size at the screen's resolution.
  QSize natural_size() const { return natural_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void UpdateBars();
  void UpdateTitle();
  // The picture shrunk to the drawn size, made once per size.
  const QImage& ShrunkImage(QSize size);

  QImage image_;
  QSize natural_;
  QImage drawn_;  // image_ shrunk to drawn_.size()
  bool fit_ = false;
  float zoom_ = 1.0F;
};

}  // namespace brindle
