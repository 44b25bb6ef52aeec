#pragma once
// The output options the tools share, as one row: the format list "JPG"/"PNG" (with "WEBP" and
// "AVIF" in the format conversion tool; not in the PNG tool), the quality slider with its label, "透明度", "PNG-8", and "颜色：" with the colour list.
// What shows follows the format and PNG-8 box as the core's rule says.

#include <QWidget>

#include "tools/common/output_options.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QSlider;

namespace brindle {

class OutputControls : public QWidget {
  Q_OBJECT

 public:
  // format_caption: the label in front of the format list ("格式转换为："); empty for none.
  // web_formats: the list offers "WEBP" and "AVIF" too.
  explicit OutputControls(const QString& format_caption, bool web_formats = false,
                          QWidget* parent = nullptr);

  ToolOutputFormat format() const;
  int quality() const;
  bool transparent() const;
  bool png8() const;
  int colour_count() const;
  // Each applied as if chosen, so the dependent controls show or hide.
  void Set(ToolOutputFormat format, int quality, bool transparent, bool png8, int colour_count);

  // A tool's stored output values shown, and read back into them. The PNG tool's have no format
  // or quality: it always writes PNG.
  template <typename Settings>
  void Show(const Settings& settings) {
    if constexpr (requires { settings.format; }) {
      Set(settings.format, settings.quality, settings.transparent, settings.png8,
          settings.png8_color_count);
    } else {
      Set(ToolOutputFormat::kPng, kDefaultToolQuality, settings.transparent, settings.png8,
          settings.png8_color_count);
    }
  }
  template <typename Settings>
  void Store(Settings& settings) const {
    if constexpr (requires { settings.format; }) {
      settings.format = format();
      settings.quality = quality();
    }
    settings.transparent = transparent();
    settings.png8 = png8();
    settings.png8_color_count = colour_count();
  }

 signals:
  void FormatChanged(ToolOutputFormat format);
  // A choice the user made that changes the output: the format, a box, the colour count, or the
  // quality slider released.
  void Changed();

 private:
  void Follow();

  QLabel* format_label_ = nullptr;
  QComboBox* format_ = nullptr;
  QLabel* quality_caption_;
  QSlider* quality_;
  QLabel* quality_label_;
  QCheckBox* transparent_;
  QCheckBox* png8_;
  QLabel* colours_label_;
  QComboBox* colours_;
};

}  // namespace brindle
