#pragma once
// Controls made with the object name tests and refusals find them by and the accessible name
// screen readers read (the visible text, or for a box the label in front of it), and labels that
// show their text as plain text.

#include <QLabel>
#include <QString>

namespace brindle {

template <typename W>
W* Named(W* widget, const QString& object_name, const QString& accessible_name) {
  widget->setObjectName(object_name);
  widget->setAccessibleName(accessible_name);
  return widget;
}

// A button or check box whose accessible name is its text.
template <typename Button>
Button* NamedButton(const QString& text, const QString& object_name, QWidget* parent = nullptr) {
  return Named(new Button(text, parent), object_name, text);
}

inline QLabel* PlainLabel(const QString& text, QWidget* parent = nullptr) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  label->setAccessibleName(text);
  return label;
}

}  // namespace brindle
