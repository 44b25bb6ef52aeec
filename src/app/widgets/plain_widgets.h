#pragma once
// Labels and controls as the windows make them: a label shows its text as written, never as
// markup, and a control has the object name tests and refusals find it by and is named for screen
// readers by its visible text (for a box, the label in front of it).

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <initializer_list>

namespace brindle {

template <typename W>
W* Named(W* widget, const QString& object_name, const QString& accessible_name) {
  widget->setObjectName(object_name);
  widget->setAccessibleName(accessible_name);
  return widget;
}

inline QLabel* PlainLabel(const QString& text, QWidget* parent = nullptr) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  label->setText(text);
  label->setAccessibleName(text);
  return label;
}

// A push button, check box or radio button with the object name tests find it by.
template <typename Button>
Button* NamedButton(const QString& text, const QString& object_name, QWidget* parent = nullptr) {
  auto* button = new Button(text, parent);
  button->setObjectName(object_name);
  button->setAccessibleName(button->text());
  return button;
}

// Controls side by side from the left, the rest of the row left empty.
inline QHBoxLayout* LeftRow(std::initializer_list<QWidget*> widgets) {
  auto* row = new QHBoxLayout;
  for (QWidget* widget : widgets) row->addWidget(widget);
  row->addStretch(1);
  return row;
}

// A dialog's foot: its default button (ok_text, object name ok_name) and "取消" at the right, each
// at least `width` pixels wide.
inline QHBoxLayout* DialogButtons(QWidget* dialog, const QString& ok_text, const QString& ok_name,
                                  int width, QPushButton*& ok, QPushButton*& cancel) {
  ok = NamedButton<QPushButton>(ok_text, ok_name, dialog);
  cancel = NamedButton<QPushButton>("取消", "cancel_button", dialog);
  ok->setDefault(true);
  ok->setMinimumWidth(width);
  cancel->setMinimumWidth(width);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(ok);
  row->addWidget(cancel);
  return row;
}

}  // namespace brindle
