#include "app/tools/common/load_format_boxes.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <span>
#include <utility>

#include "app/widgets/plain_widgets.h"

namespace brindle {

namespace {

using FormatBox = std::pair<const char*, LoadFormatMask>;

// In the windows' order.
constexpr FormatBox kAllFormats[] = {
    {"jpg", kLoadJpg},   {"png", kLoadPng},  {"gif", kLoadGif},  {"bmp", kLoadBmp},
    {"psd", kLoadPsd},   {"tif", kLoadTif},  {"svg", kLoadSvg},  {"jfif", kLoadJfif},
    {"webp", kLoadWebp}, {"dng", kLoadDng},  {"heic", kLoadHeif}, {"avif", kLoadAvif}};
constexpr FormatBox kToolFormats[] = {{"jpg", kLoadJpg},   {"png", kLoadPng},   {"gif", kLoadGif},
                                      {"bmp", kLoadBmp},   {"webp", kLoadWebp}, {"heic", kLoadHeif},
                                      {"avif", kLoadAvif}};

}  // namespace

LoadFormatBoxes::LoadFormatBoxes(bool all_formats, const QString& name_pattern, QWidget* parent)
    : QWidget(parent) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  // Twelve boxes share the conversion window's fixed width: close together, none is cut.
  row->setSpacing(1);
  const std::span<const FormatBox> formats =
      all_formats ? std::span<const FormatBox>(kAllFormats) : std::span<const FormatBox>(kToolFormats);
  for (const auto& [text, bit] : formats) {
    auto* box = NamedButton<QCheckBox>(text, name_pattern.arg(text));
    boxes_.append(box);
    bits_.append(bit);
    row->addWidget(box);
    connect(box, &QCheckBox::clicked, this, &LoadFormatBoxes::Clicked);
  }
  row->addStretch(1);
}

void LoadFormatBoxes::Set(LoadFormatMask mask) {
  hidden_bits_ = mask;
  for (int i = 0; i < boxes_.size(); ++i) {
    boxes_[i]->setChecked((mask & bits_[i]) != 0);
    hidden_bits_ &= ~bits_[i];
  }
}

LoadFormatMask LoadFormatBoxes::mask() const {
  LoadFormatMask mask = hidden_bits_;
  for (int i = 0; i < boxes_.size(); ++i) {
    if (boxes_[i]->isChecked()) mask |= bits_[i];
  }
  return mask;
}

}  // namespace brindle
