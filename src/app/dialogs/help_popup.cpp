#include "app/dialogs/help_popup.h"

#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <algorithm>
#include <string>

#include "window_rules/dialogs/help_texts.h"

namespace brindle {
namespace {

constexpr int kShadow = 2;   // the dotted shadow's width on the right and bottom
constexpr int kMargin = 11;  // half of the 22 pixels added to the lines' height
constexpr int kTextLeft = 10;
constexpr int kLeftOfCursor = 160;
constexpr int kBelowCursor = 16;
constexpr int kScreenEdge = 6;

bool HasHelp(const QWidget* widget) {
  const QString name = widget->objectName();
  return !name.isEmpty() && HelpText(name.toStdString()).has_value();
}

// A checkable group box shows its switch in its title; only a point on the title means the group.
bool OnGroupTitle(const QGroupBox* group, QPoint local) {
  QStyleOptionGroupBox option;
  option.initFrom(group);
  option.text = group->title();
  option.textAlignment = group->alignment();
  option.subControls = QStyle::SC_GroupBoxFrame;
  if (group->isCheckable()) option.subControls |= QStyle::SC_GroupBoxCheckBox;
  if (!group->title().isEmpty()) option.subControls |= QStyle::SC_GroupBoxLabel;
  const QStyle::SubControl hit =
      group->style()->hitTestComplexControl(QStyle::CC_GroupBox, &option, local, group);
  return hit == QStyle::SC_GroupBoxCheckBox || hit == QStyle::SC_GroupBoxLabel;
}

}  // namespace

HelpPopup::HelpPopup(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint) {
  setObjectName("help_popup");
  setAccessibleName("帮助");
  setFixedWidth(kWidth);
}

int HelpPopup::HeightFor(int lines, int text_height) {
  return ((lines * (text_height + 3)) | 1) + 2 * kMargin;  // the lines' height made odd
}

void HelpPopup::ShowAt(const QString& text, QPoint cursor_global) {
  lines_ = text.split('\n');
  setAccessibleDescription(text);
  const int height = HeightFor(static_cast<int>(lines_.size()), fontMetrics().height());
  setFixedHeight(height);

  QScreen* screen = QGuiApplication::screenAt(cursor_global);
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  const QRect area = screen->availableGeometry();
  const int x = std::max(area.left() + kScreenEdge,
                         std::min(cursor_global.x() - kLeftOfCursor,
                                  area.left() + area.width() - kWidth - kScreenEdge));
  int y = cursor_global.y() + kBelowCursor;
  if (y + height > area.bottom() + 1) y = cursor_global.y() - height;
  move(x, y);
  update();
  show();
  activateWindow();
}

bool HelpPopup::event(QEvent* event) {
  if (event->type() == QEvent::WindowDeactivate) hide();
  return QWidget::event(event);
}

void HelpPopup::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect box(0, 0, width() - kShadow, height() - kShadow);
  painter.fillRect(rect(), QColor(254, 255, 237));
  // Every other pixel dark, offset from the box like a shadow falling right and down.
  const QBrush dots(Qt::black, Qt::Dense4Pattern);
  painter.fillRect(QRect(box.right() + 1, kShadow, kShadow, height() - kShadow), dots);
  painter.fillRect(QRect(kShadow, box.bottom() + 1, width() - kShadow, kShadow), dots);
  painter.setPen(Qt::black);
  painter.drawRect(box.adjusted(0, 0, -1, -1));

  // QPainter::drawText takes the lines as plain text: no markup is interpreted.
  const int line_height = fontMetrics().height() + 3;
  int top = kMargin;
  for (const QString& line : lines_) {
    painter.drawText(QRect(kTextLeft, top, box.width() - 2 * kTextLeft, line_height),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line);
    top += line_height;
  }
}

void HelpPopup::mousePressEvent(QMouseEvent*) { hide(); }

void HelpPopup::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    hide();
    return;
  }
  QWidget::keyPressEvent(event);
}

QWidget* HelpTargetAt(QWidget* root, QPoint global) {
  QWidget* deepest = root->childAt(root->mapFromGlobal(global));
  if (deepest == nullptr) return nullptr;
  if (auto* group = qobject_cast<QGroupBox*>(deepest)) {
    return HasHelp(group) && OnGroupTitle(group, group->mapFromGlobal(global)) ? group : nullptr;
  }
  // A control's inner parts (a spin box's line edit, a view's viewport) lead to the control; the
  // group box around a plain label is no control of its own.
  for (QWidget* widget = deepest; widget != nullptr && widget != root;
       widget = widget->parentWidget()) {
    if (qobject_cast<QGroupBox*>(widget) != nullptr) return nullptr;
    if (HasHelp(widget)) return widget;
  }
  return nullptr;
}

bool ShowHelpFor(QWidget* root, QPoint global, HelpPopup& popup) {
  const QWidget* target = HelpTargetAt(root, global);
  if (target == nullptr) return false;
  const std::optional<std::string_view> text = HelpText(target->objectName().toStdString());
  popup.ShowAt(QString::fromUtf8(text->data(), static_cast<qsizetype>(text->size())), global);
  return true;
}

}  // namespace brindle
