#include "app/panel/panel_bindings.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <algorithm>

#include "app/panel/panel_widgets.h"
#include "app/panel/settings_panel.h"
#include "panel/values/panel_controls.h"
#include "panel/values/panel_labels.h"
#include "panel/values/panel_text.h"
#include "tools/common/output_options.h"

namespace brindle {

namespace {

namespace pc = panel_control;
using PV = PanelValues;
using Change = std::optional<PanelChange>;

PanelBinding Row(std::string_view name, Change change) {
  PanelBinding row;
  row.name = name;
  row.change = change;
  return row;
}

// A check box, radio or tool button, or a group's title box.
template <typename Field>
PanelBinding Flag(std::string_view name, Field field, Change change, bool by_rule = false) {
  PanelBinding row = Row(name, change);
  row.flag = field;
  row.by_rule = by_rule;
  return row;
}

// A list by the index of its choice.
template <typename Field>
PanelBinding Entry(std::string_view name, Field field, Change change, bool by_rule = false) {
  PanelBinding row = Row(name, change);
  row.number = field;
  row.by_rule = by_rule;
  return row;
}

// A slider, with the caption beside it.
template <typename Field>
PanelBinding Position(std::string_view name, Field field, Change change,
                      std::string (*caption)(int) = nullptr) {
  PanelBinding row = Row(name, change);
  row.number = field;
  row.caption = caption;
  return row;
}

// An editable list by its text, or a list of numbers step apart.
template <typename Field>
PanelBinding Text(std::string_view name, Field field, Change change, int step = 0) {
  PanelBinding row = Row(name, change);
  row.text = field;
  row.step = step;
  return row;
}

constexpr bool kByRule = true;

}  // namespace

const std::vector<PanelBinding>& PanelBindings() {
  using enum PanelChange;
  static const std::vector<PanelBinding> table = {
      // "基本设置"
      Flag(pc::kResize, &PV::resize, kResizeSwitch, kByRule),
      Entry(pc::kZoomTypeList, &PV::zoom_type, kZoomType, kByRule),
      Entry(pc::kSizeTypeList, &PV::size_type, kSizeType, kByRule),
      Flag(pc::kKeepAspect, &PV::keep_aspect, kResizeSwitch),
      Flag(pc::kQuality, &PV::quality, kAlways),
      Position(pc::kQualitySlider, &PV::quality_position, kAlways, &QualityLabel),

      // "文字水印"
      Flag(pc::kTextWatermark, &PV::text_watermark, kTextWatermark),
      Text(pc::kText, &PV::text, kTextWatermark),
      Text(pc::kFontSizeList, &PV::font_size_text, kTextWatermark),
      Flag(pc::kBold, &PV::bold, kTextWatermark),
      Flag(pc::kItalic, &PV::italic, kTextWatermark),
      Flag(pc::kUnderline, &PV::underline, kTextWatermark, kByRule),
      Flag(pc::kLineThrough, &PV::line_through, kTextWatermark, kByRule),
      Entry(
          pc::kTextHorizontalList, [](PV& v) -> int& { return v.text_placement.horizontal; },
          kTextWatermark, kByRule),
      Entry(
          pc::kTextVerticalList, [](PV& v) -> int& { return v.text_placement.vertical; },
          kTextWatermark, kByRule),
      Text(pc::kTextBorderSizeList, &PV::text_border_size_text, kTextWatermark, 1),
      Text(pc::kCornerRadiusList, &PV::corner_radius_text, kTextWatermark, 5),
      Position(pc::kTextOpacity, &PV::text_opacity, kTextSlider),
      Flag(pc::kTextSizeScale, &PV::text_size_scale, kTextWatermark),
      Entry(pc::kTextSizeScaleTypeList, &PV::text_size_scale_type, kTextSizeScaleType),
      Flag(pc::kTextTiled, &PV::text_tiled, kTextWatermark),
      Position(pc::kTextTiledSpacing, &PV::text_tiled_spacing, kTextSlider, &ValueLabel),

      // "图片水印"
      Flag(pc::kImageWatermark, &PV::image_watermark, kImageWatermark),
      Text(pc::kImagePath, &PV::image_path, kImageWatermark),
      Entry(
          pc::kImageHorizontalList, [](PV& v) -> int& { return v.image_placement.horizontal; },
          kImageWatermark, kByRule),
      Entry(
          pc::kImageVerticalList, [](PV& v) -> int& { return v.image_placement.vertical; },
          kImageWatermark, kByRule),
      Position(pc::kImageOpacity, &PV::image_opacity, kImageWatermark),
      Flag(pc::kImageTiled, &PV::image_tiled, kImageWatermark),
      Position(pc::kImageTiledSpacing, &PV::image_tiled_spacing, kImageWatermark, &ValueLabel),

      // "边框设置"
      Flag(pc::kBorder, &PV::border, kAlways),
      Entry(pc::kBorderLocationList, &PV::border_location, kAlways),
      Position(pc::kBorderSize, &PV::border_size, kAlways, &ValueLabel),
      Position(pc::kBorderPadding, &PV::border_padding, kAlways, &ValueLabel),

      // "其他设置"
      Flag(
          pc::kLight, [](PV& v) -> bool& { return v.light.on; }, kAlways),
      Position(
          pc::kLightSlider, [](PV& v) -> int& { return v.light.value; }, kAlways, &ToneLabel),
      Flag(
          pc::kContrast, [](PV& v) -> bool& { return v.contrast.on; }, kAlways),
      Position(
          pc::kContrastSlider, [](PV& v) -> int& { return v.contrast.value; }, kAlways, &ToneLabel),
      Flag(
          pc::kClearly, [](PV& v) -> bool& { return v.clearly.on; }, kAlways),
      Position(
          pc::kClearlySlider, [](PV& v) -> int& { return v.clearly.value; }, kAlways, &ToneLabel),
      Flag(
          pc::kSaturation, [](PV& v) -> bool& { return v.saturation.on; }, kAlways),
      Position(
          pc::kSaturationSlider, [](PV& v) -> int& { return v.saturation.value; }, kAlways,
          &ToneLabel),
      Flag(pc::kBlackAndWhite, &PV::black_and_white, kAlways),
      Flag(pc::kRemoveExif, &PV::remove_exif, kAlways),
      Flag(pc::kColourSpace, &PV::colour_space, kAlways),
      Entry(pc::kFromColourSpaceList, &PV::from_colour_space, kAlways),
      Entry(pc::kToColourSpaceList, &PV::to_colour_space, kAlways),
      Flag(pc::kSrgbIcc, &PV::srgb_icc, kAlways),
      Flag(pc::kDpi, &PV::dpi, kAlways, kByRule),
      Flag(pc::kResample, &PV::resample, kResample, kByRule),

      // "处理后保存到" / "直接覆盖原图"
      Flag(pc::kKeepStructure, &PV::keep_structure, std::nullopt),
      Entry(pc::kOutputFormatList, &PV::output_format, kAlways),
  };
  return table;
}

void SettingsPanel::BindValueControls() {
  for (const PanelBinding& row : PanelBindings()) {
    QWidget* control = Control(row.name);
    if (!control) qFatal("no control %s for the panel's table", std::string(row.name).c_str());
    bound_controls_.push_back(control);
    if (row.by_rule) continue;
    const PanelBinding* binding = &row;
    if (row.flag) {
      auto write = [this, binding](bool on) {
        if (showing_) return;
        binding->flag(values_) = on;
        Changed(binding->change);
      };
      if (auto* group = qobject_cast<QGroupBox*>(control)) {
        connect(group, &QGroupBox::toggled, this, write);
      } else {
        connect(static_cast<QAbstractButton*>(control), &QAbstractButton::toggled, this, write);
      }
    } else if (auto* slider = qobject_cast<QAbstractSlider*>(control)) {
      // The caption follows the thumb; the value counts when the thumb is let go.
      QLabel* caption = row.caption ? slider_captions_.at(slider) : nullptr;
      connect(slider, &QAbstractSlider::valueChanged, this,
              [this, binding, slider, caption](int value) {
                if (caption) caption->setText(Q(binding->caption(value)));
                if (showing_) return;
                binding->number(values_) = value;
                if (!slider->isSliderDown()) Changed(binding->change);
              });
      connect(slider, &QAbstractSlider::sliderReleased, this,
              [this, binding] { Changed(binding->change); });
    } else {
      auto* list = static_cast<QComboBox*>(control);
      if (row.text && row.step == 0) {
        connect(list, &QComboBox::editTextChanged, this, [this, binding](const QString& text) {
          if (!showing_) binding->text(values_) = text.toStdString();
        });
      }
      connect(list, &QComboBox::activated, this, [this, binding, list](int index) {
        if (binding->number) {
          binding->number(values_) = index;
        } else if (binding->step > 0) {
          binding->text(values_) = std::to_string(index * binding->step);
        } else {
          binding->text(values_) = list->itemText(index).toStdString();
        }
        Changed(binding->change);
      });
    }
  }
}

void SettingsPanel::ShowBoundValues() {
  const std::vector<PanelBinding>& table = PanelBindings();
  for (std::size_t i = 0; i < table.size(); ++i) {
    const PanelBinding& row = table[i];
    QWidget* control = bound_controls_[i];
    if (row.flag) {
      const bool on = row.flag(values_);
      if (auto* group = qobject_cast<QGroupBox*>(control)) {
        group->setChecked(on);
      } else {
        static_cast<QAbstractButton*>(control)->setChecked(on);
      }
    } else if (auto* slider = qobject_cast<QAbstractSlider*>(control)) {
      const int value = row.number(values_);
      slider->setValue(value);
      if (row.caption) slider_captions_.at(slider)->setText(Q(row.caption(value)));
    } else if (row.number) {
      static_cast<QComboBox*>(control)->setCurrentIndex(row.number(values_));
    } else if (row.step > 0) {
      auto* list = static_cast<QComboBox*>(control);
      list->setCurrentIndex(
          std::clamp(IntegerValue(row.text(values_)) / row.step, 0, list->count() - 1));
    } else {
      SetEditText(static_cast<QComboBox*>(control), row.text(values_));
    }
  }
}

}  // namespace brindle
