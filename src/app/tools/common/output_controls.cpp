#include "app/tools/common/output_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QSlider>

#include "app/widgets/plain_widgets.h"
#include "window_rules/tools/common/tool_output_controls.h"

namespace brindle {

OutputControls::OutputControls(const QString& format_caption, bool web_formats, QWidget* parent)
    : QWidget(parent),
      quality_caption_(PlainLabel("质量：")),
      quality_(Named(new QSlider(Qt::Horizontal), "quality_slider", "质量：")),
      quality_label_(PlainLabel(QString::fromStdString(QualityLabel(kDefaultToolQuality)))),
      transparent_(NamedButton<QCheckBox>("透明度", "transparent_box")),
      png8_(NamedButton<QCheckBox>("PNG-8", "png8_box")),
      colours_label_(PlainLabel("颜色：")),
      colours_(Named(new QComboBox, "colour_list", "颜色：")) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  if (!format_caption.isEmpty()) {
    format_label_ = PlainLabel(format_caption);
    format_ = Named(new QComboBox, "format_list", format_caption);
    // The entries in the order of ToolOutputFormat.
    format_->addItems({"JPG", "PNG"});
    if (web_formats) format_->addItems({"WEBP", "AVIF"});
    row->addWidget(format_label_);
    row->addWidget(format_);
    connect(format_, &QComboBox::currentIndexChanged, this, [this] {
      Follow();
      emit FormatChanged(format());
    });
    connect(format_, &QComboBox::activated, this, &OutputControls::Changed);
  }
  quality_->setRange(kMinToolQuality, kMaxToolQuality);
  quality_->setValue(kDefaultToolQuality);
  quality_->setFixedWidth(120);
  quality_label_->setMinimumWidth(quality_label_->fontMetrics().horizontalAdvance("100(高)") + 4);
  connect(quality_, &QSlider::valueChanged, this, [this](int value) {
    quality_label_->setText(QString::fromStdString(QualityLabel(value)));
  });
  transparent_->setChecked(true);
  for (int count : kPng8ColorCounts) colours_->addItem(QString::number(count));
  colours_->setCurrentIndex(colours_->count() - 1);
  connect(png8_, &QCheckBox::toggled, this, &OutputControls::Follow);
  connect(quality_, &QSlider::sliderReleased, this, &OutputControls::Changed);
  connect(transparent_, &QCheckBox::clicked, this, &OutputControls::Changed);
  connect(png8_, &QCheckBox::clicked, this, &OutputControls::Changed);
  connect(colours_, &QComboBox::activated, this, &OutputControls::Changed);
  for (QWidget* control :
       {static_cast<QWidget*>(quality_caption_), static_cast<QWidget*>(quality_),
        static_cast<QWidget*>(quality_label_), static_cast<QWidget*>(transparent_),
        static_cast<QWidget*>(png8_), static_cast<QWidget*>(colours_label_),
        static_cast<QWidget*>(colours_)}) {
    row->addWidget(control);
  }
  row->addStretch(1);
  Follow();
}

ToolOutputFormat OutputControls::format() const {
  return format_ && format_->currentIndex() > 0
             ? static_cast<ToolOutputFormat>(format_->currentIndex())
             : ToolOutputFormat::kJpg;
}

int OutputControls::quality() const { return quality_->value(); }
bool OutputControls::transparent() const { return transparent_->isChecked(); }
bool OutputControls::png8() const { return png8_->isChecked(); }
int OutputControls::colour_count() const { return colours_->currentText().toInt(); }

void OutputControls::Set(ToolOutputFormat format, int quality, bool transparent, bool png8,
                         int colour_count) {
  if (format_) {
    const int entry = static_cast<int>(format);
    format_->setCurrentIndex(entry < format_->count() ? entry : 0);
  }
  quality_->setValue(quality);
  transparent_->setChecked(transparent);
  png8_->setChecked(png8);
  const int entry = colours_->findText(QString::number(colour_count));
  colours_->setCurrentIndex(entry >= 0 ? entry : colours_->count() - 1);
  Follow();
}

void OutputControls::Follow() {
  // The PNG tool has no format list: it always writes PNG.
  const OutputControlsShown shown =
      OutputControlsFor(format_ ? format() : ToolOutputFormat::kPng, png8());
  quality_caption_->setVisible(shown.quality);
  quality_->setVisible(shown.quality);
  quality_label_->setVisible(shown.quality);
  transparent_->setVisible(shown.transparency);
  png8_->setVisible(shown.png8);
  colours_label_->setVisible(shown.colours);
  colours_->setVisible(shown.colours);
}

}  // namespace brindle
