#include "app/widgets/picture_pane.h"

#include <QPainter>
#include <QScrollBar>

#include "window_rules/widgets/picture_pane_geometry.h"

namespace brindle {

PicturePane::PicturePane(QWidget* parent) : QAbstractScrollArea(parent) {
  setFrameShape(QFrame::StyledPanel);
  viewport()->setAutoFillBackground(false);
  horizontalScrollBar()->setSingleStep(1);
  verticalScrollBar()->setSingleStep(kPaneWheelStep);
  setAccessibleName("图片");
}

void PicturePane::ShowImage(QImage image) {
  image_ = std::move(image);
  drawn_ = QImage();
  natural_ = QSize();
  if (!image_.isNull()) {
    // dots per metre to dots per inch
    const int picture_dpi_x = qRound(image_.dotsPerMeterX() * 0.0254);
    const int picture_dpi_y = qRound(image_.dotsPerMeterY() * 0.0254);
    natural_ = QSize(NaturalLength(image_.width(), picture_dpi_x, logicalDpiX()),
                     NaturalLength(image_.height(), picture_dpi_y, logicalDpiY()));
  }
  horizontalScrollBar()->setValue(0);
  verticalScrollBar()->setValue(0);
  UpdateBars();
  viewport()->update();
}

void PicturePane::ReplaceImage(QImage image) {
  const int horizontal = horizontalScrollBar()->value();
  const int vertical = verticalScrollBar()->value();
  ShowImage(std::move(image));
  if (horizontal > 0 || vertical > 0) {
    horizontalScrollBar()->setValue(horizontal);
    verticalScrollBar()->setValue(vertical);
  }
}

void PicturePane::Clear() { ShowImage({}); }

void PicturePane::SetFit(bool fit) {
  fit_ = fit;
  UpdateBars();
  viewport()->update();
}

void PicturePane::UpdateBars() {
  const QSize client = viewport()->size();
  const PaneLayout layout =
      LayOutPane(client.width(), client.height(), natural_.width(), natural_.height(), fit_, 0, 0);
  horizontalScrollBar()->setRange(
      0, layout.horizontal_bar ? natural_.width() + 2 * kPaneMargin + 1 - client.width() : 0);
  horizontalScrollBar()->setPageStep(client.width());
  verticalScrollBar()->setRange(
      0, layout.vertical_bar ? natural_.height() + 2 * kPaneMargin + 1 - client.height() : 0);
  verticalScrollBar()->setPageStep(client.height());
}

void PicturePane::UpdateTitle() {
  QWidget* owner = window();
  const std::string title =
      TitleWithZoomNote(owner->windowTitle().toStdString(), image_.isNull() ? 1.0F : zoom_);
  if (QString::fromStdString(title) != owner->windowTitle()) {
    owner->setWindowTitle(QString::fromStdString(title));
  }
}

void PicturePane::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect(), Qt::white);
  const QSize client = viewport()->size();
  const PaneLayout layout =
      LayOutPane(client.width(), client.height(), natural_.width(), natural_.height(), fit_,
                 horizontalScrollBar()->value(), verticalScrollBar()->value());
  zoom_ = layout.zoom;
  if (!image_.isNull()) {
    painter.setPen(Qt::black);
    painter.drawRect(layout.x - 1, layout.y - 1, layout.drawn_width + 1, layout.drawn_height + 1);
    const QRect target(layout.x, layout.y, layout.drawn_width, layout.drawn_height);
    if (target.size() == image_.size()) {
      painter.drawImage(target.topLeft(), image_);
    } else if (target.width() >= image_.width() && target.height() >= image_.height()) {
      // Enlarged (a picture of fewer pixels per inch than the screen): only the part in view is
      // stretched.
      painter.setRenderHint(QPainter::SmoothPixmapTransform);
      painter.drawImage(target, image_);
    } else {
      painter.drawImage(target.topLeft(), ShrunkImage(target.size()));
    }
  }
  UpdateTitle();
}

const QImage& PicturePane::ShrunkImage(QSize size) {
  // Shrunk once with area averaging: stretching at paint time samples the picture and shows moiré
  // on fine patterns.
  if (drawn_.size() != size) {
    drawn_ = image_.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  return drawn_;
}

void PicturePane::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateBars();
}

void PicturePane::mouseDoubleClickEvent(QMouseEvent*) {
  const QSize client = viewport()->size();
  if (DoubleClickTogglesFit(client.width(), client.height(), natural_.width(), natural_.height(),
                            fit_)) {
    SetFit(!fit_);
  }
}

void PicturePane::scrollContentsBy(int, int) { viewport()->update(); }

}  // namespace brindle
