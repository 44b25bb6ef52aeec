#pragma once
// Labels and buttons as the small windows make them: a label shows its text as written, never as
// markup, and a control is named by its visible text for screen readers.

#include <QLabel>
#include <QString>

namespace brindle {

inline QLabel* PlainLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  label->setText(text);
  label->setAccessibleName(text);
  return label;
}

// A push button, check box or radio button with the object name tests find it by.
template <typename Button>
Button* NamedButton(const QString& text, const QString& object_name, QWidget* parent) {
  auto* button = new Button(text, parent);
  button->setObjectName(object_name);
  button->setAccessibleName(button->text());
  return button;
}

}  // namespace brindle
