// "其他设置": tones, black and white, Exif, colour space and resolution.

#include "app/panel/settings_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSlider>

#include "app/panel/panel_widgets.h"
#include "panel/rules/resize_resample.h"
#include "panel/values/panel_choices.h"
#include "panel/values/panel_controls.h"
#include "panel/values/panel_list_texts.h"

namespace brindle {

namespace pc = panel_control;

QWidget* SettingsPanel::BuildOtherGroup() {
  auto* group = new QGroupBox("其他设置");
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(6, 6, 6, 6);
  grid->setHorizontalSpacing(3);
  int row = 0;
  auto tone = [&](ToneRow& tone_row, const char* text, std::string_view check_name,
                  std::string_view slider_name) {
    tone_row.check = Named(new QCheckBox(Q(text)), check_name, Q(text));
    tone_row.label = Caption("");
    tone_row.label->setMinimumWidth(QFontMetrics(font()).horizontalAdvance("+100") + 2);
    tone_row.slider = Slider(slider_name, kToneMin, kToneMax, Q(text));
    grid->addWidget(tone_row.check, row, 0);
    grid->addWidget(tone_row.slider, row, 1);
    grid->addWidget(tone_row.label, row, 2);
    ++row;
    slider_captions_[tone_row.slider] = tone_row.label;
  };
  tone(light_, "亮  度：", pc::kLight, pc::kLightSlider);
  tone(contrast_, "对比度：", pc::kContrast, pc::kContrastSlider);
  tone(clearly_, "清晰度：", pc::kClearly, pc::kClearlySlider);
  tone(saturation_, "饱和度：", pc::kSaturation, pc::kSaturationSlider);

  auto check = [&](std::string_view name, const char* text) {
    auto* box = Named(new QCheckBox(Q(text)), name, Q(text));
    grid->addWidget(box, row++, 0, 1, 3);
  };
  check(pc::kBlackAndWhite, "将彩色图片转换成黑白图片");
  check(pc::kRemoveExif, "去除Exif信息(拍照日期,相机型号等)");

  colour_space_ = Named(new QCheckBox, pc::kColourSpace, "色彩空间转换");
  from_colour_space_ = Named(new QComboBox, pc::kFromColourSpaceList, "色彩空间转换");
  AddEntries(from_colour_space_, kFromColourSpaceTexts);
  to_colour_space_ = Named(new QComboBox, pc::kToColourSpaceList, "转");
  AddEntries(to_colour_space_, kToColourSpaceTexts);
  auto* colour_row = new QHBoxLayout;
  colour_row->addWidget(colour_space_);
  colour_row->addWidget(from_colour_space_);
  colour_row->addWidget(Caption("转"));
  colour_row->addWidget(to_colour_space_);
  colour_row->addStretch(1);
  grid->addLayout(colour_row, row++, 0, 1, 3);
  // Kept in the recipe, never shown.
  srgb_icc_ = Named(new QCheckBox("sRGB.icc", group), pc::kSrgbIcc, "sRGB.icc");
  srgb_icc_->setToolTip("转换成sRGB颜色空间时，是否使用 sRGB.icc 配置文件");
  srgb_icc_->setVisible(false);

  dpi_ = Named(new QCheckBox("分辨率(DPI)："), pc::kDpi, "分辨率(DPI)：");
  resample_ = Named(new QCheckBox("重新采样"), pc::kResample, "重新采样");
  auto* dpi_row = new QHBoxLayout;
  dpi_row->addWidget(dpi_);
  dpi_row->addWidget(MakeNumberBox(NumberBox::kDpi, 5, "分辨率(DPI)："));
  dpi_row->addWidget(resample_);
  dpi_row->addStretch(1);
  grid->addLayout(dpi_row, row++, 0, 1, 3);
  boxes_[NumberBox::kDpi]->setValidator(
      new QRegularExpressionValidator(QRegularExpression("[0-9]*"), boxes_[NumberBox::kDpi]));
  connect(dpi_, &QCheckBox::toggled, this, [this](bool on) {
    if (showing_) return;
    std::optional<Refusal> refused;
    if (on) {
      refused = TickDpi(values_);
    } else {
      values_.dpi = false;
    }
    Changed(PanelChange::kAlways);
    if (refused) ShowRefusal(*refused);
    if (on) {
      boxes_[NumberBox::kDpi]->setFocus(Qt::OtherFocusReason);
      boxes_[NumberBox::kDpi]->selectAll();
    }
  });
  connect(resample_, &QCheckBox::toggled, this, [this](bool on) {
    if (showing_) return;
    std::optional<Refusal> refused;
    if (on) {
      refused = TickResample(values_);
    } else {
      values_.resample = false;
    }
    Changed(PanelChange::kResample);
    if (refused) ShowRefusal(*refused);
  });
  return group;
}

}  // namespace brindle
