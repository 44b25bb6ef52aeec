#pragma once
// The tool windows' digits boxes: digits only, as many as the value may have, and empty meaning "no
// value", as the stored settings keep it.

#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QString>
#include <optional>

#include "app/widgets/plain_widgets.h"

namespace brindle {

inline QLineEdit* DigitsBox(const QString& object_name, const QString& accessible_name, int digits,
                            int width = 60) {
  auto* box = Named(new QLineEdit, object_name, accessible_name);
  box->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QString("[0-9]{0,%1}").arg(digits)), box));
  box->setMaxLength(digits);
  box->setFixedWidth(width);
  return box;
}

inline QString NumberText(const std::optional<int>& number) {
  return number ? QString::number(*number) : QString();
}

inline std::optional<int> NumberOf(const QLineEdit* box) {
  if (box->text().isEmpty()) return std::nullopt;
  return box->text().toInt();
}

}  // namespace brindle
