#include "app/balloon_hints.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

#include "app/plain_widgets.h"

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

}  // namespace

BalloonHints::BalloonHints(QObject* parent) : QObject(parent) { qApp->installEventFilter(this); }

void BalloonHints::Show(QWidget* control, const QString& title, const QString& text,
                        MessageIcon icon) {
  std::erase_if(open_, [](const QPointer<QWidget>& balloon) { return balloon.isNull(); });
  if (open_count() >= kMostOpen) DismissAll();
  auto* balloon = new QFrame(control->window(), Qt::ToolTip | Qt::FramelessWindowHint);
  balloon->setAttribute(Qt::WA_DeleteOnClose);
  balloon->setObjectName("balloon_hint");
  balloon->setStyleSheet(
      "#balloon_hint { background: #ffffe1; border: 1px solid #767676; border-radius: 6px; }");
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
  balloon->adjustSize();
  const QPoint tip = control->mapToGlobal(QPoint(control->width() / 2, control->height()));
  balloon->move(tip.x() - 16, tip.y() + 2);
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
