#include "app/dialogs/balloon_hints.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "app/widgets/plain_widgets.h"
#include "window_rules/dialogs/hint_geometry.h"

namespace brindle {
namespace {

QStyle::StandardPixmap IconOf(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kWarning:
      return QStyle::SP_MessageBoxWarning;
    case MessageIcon::kError:
      return QStyle::SP_MessageBoxCritical;
    case MessageIcon::kQuestion:
      return QStyle::SP_MessageBoxQuestion;
    case MessageIcon::kNone:
    case MessageIcon::kInformation:
      break;
  }
  return QStyle::SP_MessageBoxInformation;
}

// A yellow rounded box with a tail towards its point. Its shape is its mask, so no corners of the
// window show around it on an X server without compositing.
class Balloon : public QWidget {
 public:
  explicit Balloon(QWidget* owner) : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName("balloon_hint");
  }

  // tail_x: the tail's tip from the left side; tail_up: the tail on top, the box below it.
  void SetTail(bool tail_up, int tail_x) {
    tail_up_ = tail_up;
    tail_x_ = tail_x;
    if (QLayout* box = layout()) {
      box->setContentsMargins(10, 8 + (tail_up ? kBalloonTail : 0), 10,
                              8 + (tail_up ? 0 : kBalloonTail));
    }
    Reshape();
  }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    Reshape();
  }

  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor("#767676"), 1));
    painter.setBrush(QColor("#ffffe1"));
    painter.drawPath(Outline(0.5));
  }

 private:
  // The box and its tail as one outline, inset by `inset` pixels.
  QPainterPath Outline(double inset) const {
    const double tail = kBalloonTail;
    const double top = tail_up_ ? tail : 0;
    const QRectF body(inset, top + inset, width() - 2 * inset, height() - tail - 2 * inset);
    QPainterPath box;
    box.addRoundedRect(body, 6, 6);
    const double tip_y = tail_up_ ? inset : height() - inset;
    const double base_y = tail_up_ ? body.top() + 1 : body.bottom() - 1;
    QPainterPath point;
    point.moveTo(tail_x_ - kBalloonTailHalfBase, base_y);
    point.lineTo(tail_x_, tip_y);
    point.lineTo(tail_x_ + kBalloonTailHalfBase, base_y);
    point.closeSubpath();
    return box.united(point);
  }

  void Reshape() {
    if (width() > 0 && height() > 0) setMask(QRegion(Outline(0).toFillPolygon().toPolygon()));
    update();
  }

  bool tail_up_ = true;
  int tail_x_ = kBalloonTailInset;
};

}  // namespace

BalloonHints::BalloonHints(QObject* parent) : QObject(parent) { qApp->installEventFilter(this); }

void BalloonHints::Show(QWidget* control, const QString& title, const QString& text,
                        MessageIcon icon) {
  const QPoint below = control->mapToGlobal(QPoint(control->width() / 2, control->height()));
  const QPoint above = control->mapToGlobal(QPoint(control->width() / 2, 0));
  Open(control, below, above, title, text, icon);
}

void BalloonHints::ShowAt(QWidget* widget, const QPoint& point, const QString& title,
                          const QString& text, MessageIcon icon) {
  const QPoint at = widget->mapToGlobal(point);
  Open(widget, at, at, title, text, icon);
}

void BalloonHints::Open(QWidget* owner, const QPoint& below, const QPoint& above,
                        const QString& title, const QString& text, MessageIcon icon) {
  std::erase_if(open_, [](const QPointer<QWidget>& balloon) { return balloon.isNull(); });
  if (open_count() >= kMostOpen) DismissAll();
  auto* balloon = new Balloon(owner->window());
  auto* layout = new QVBoxLayout(balloon);
  if (!title.isEmpty()) {
    auto* heading = new QHBoxLayout;
    auto* picture = new QLabel(balloon);
    picture->setPixmap(balloon->style()->standardIcon(IconOf(icon)).pixmap(16, 16));
    QLabel* title_label = PlainLabel(title, balloon);
    QFont bold = title_label->font();
    bold.setBold(true);
    title_label->setFont(bold);
    heading->addWidget(picture);
    heading->addWidget(title_label, 1);
    layout->addLayout(heading);
  }
  layout->addWidget(PlainLabel(text, balloon));
  balloon->setAccessibleName(title.isEmpty() ? text : title);
  balloon->setAccessibleDescription(text);
  balloon->setProperty("hint", title + " | " + text);
  balloon->SetTail(true, kBalloonTailInset);
  balloon->adjustSize();
  QScreen* screen = owner->screen();
  const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1 << 16, 1 << 16);
  const BalloonPlace place =
      PlaceBalloon({below.x(), below.y()}, {above.x(), above.y()},
                   {balloon->width(), balloon->height()},
                   {area.x(), area.y(), area.width(), area.height()});
  balloon->SetTail(place.tail_up, place.tail_x);
  balloon->move(place.x, place.y);
  balloon->setProperty("points_at", place.tail_up ? below : above);
  balloon->show();
  open_.emplace_back(balloon);
}

void BalloonHints::DismissAll() {
  for (QPointer<QWidget>& balloon : open_) {
    if (balloon) balloon->close();
  }
  open_.clear();
}

int BalloonHints::open_count() const {
  int count = 0;
  for (const QPointer<QWidget>& balloon : open_) count += balloon && balloon->isVisible() ? 1 : 0;
  return count;
}

QStringList BalloonHints::open_texts() const {
  QStringList texts;
  for (const QPointer<QWidget>& balloon : open_) {
    if (balloon && balloon->isVisible()) texts << balloon->property("hint").toString();
  }
  return texts;
}

bool BalloonHints::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (!open_.empty() && (type == QEvent::MouseButtonPress || type == QEvent::KeyPress ||
                         type == QEvent::NonClientAreaMouseButtonPress)) {
    DismissAll();
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace brindle
