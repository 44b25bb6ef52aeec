#pragma once
// Labels and controls as the windows make them: a label shows its text as written, never as
// markup, and a control has the object name tests and refusals find it by and is named for screen
// readers by its visible text (for a box, the label in front of it).

#include <QLabel>
#include <QString>

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

}  // namespace brindle
