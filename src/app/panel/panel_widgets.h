#pragma once
// The small parts the settings panel's groups are made of: named controls, plain captions, the
// colour swatches' faces, and writes that leave a widget alone when it already shows the text.

#include <QColor>
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QSlider>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/widgets/plain_widgets.h"

namespace brindle {

inline QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}

template <typename W>
W* Named(W* widget, std::string_view name, const QString& accessible_name) {
  return Named(widget, Q(name), accessible_name);
}

inline QLabel* Caption(const QString& text) {
  auto* label = new QLabel(text);
  label->setTextFormat(Qt::PlainText);
  return label;
}

template <std::size_t N>
void AddEntries(QComboBox* box, const std::array<const char*, N>& texts) {
  for (const char* text : texts) box->addItem(Q(text));
}

inline QColor ColourOf(std::int64_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

inline std::int32_t BgrOf(const QColor& colour) {
  return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

// A swatch's face: the colour as a solid 40 × 17 picture, or white crossed out for no colour.
inline QIcon SwatchIcon(std::int64_t bgr) {
  QPixmap pixmap(40, 17);
  if (bgr < 0) {
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setPen(QPen(Qt::red, 1));
    painter.drawLine(0, 16, 39, 0);
  } else {
    pixmap.fill(ColourOf(bgr));
  }
  return QIcon(pixmap);
}

inline QSlider* Slider(std::string_view name, int low, int high, const QString& accessible_name) {
  auto* slider = Named(new QSlider(Qt::Horizontal), name, accessible_name);
  slider->setRange(low, high);
  return slider;
}

inline void SetText(QLineEdit* edit, const std::string& text) {
  const QString shown = QString::fromStdString(text);
  if (edit->text() != shown) edit->setText(shown);
}

inline void SetEditText(QComboBox* box, const std::string& text) {
  const QString shown = QString::fromStdString(text);
  if (box->currentText() != shown) box->setEditText(shown);
}

}  // namespace brindle
