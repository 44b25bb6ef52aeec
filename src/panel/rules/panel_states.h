#pragma once
// Which controls of the settings panel are enabled, and how tall the switchable groups stand, as
// the panel's values decide them. A control not named here is always enabled.

#include "panel/values/panel_values.h"

namespace brindle {

struct PanelEnabledStates {
  // "基本设置"
  bool zoom_type = false;  // the kind list
  bool size_type = false;  // the side list
  bool size_box = false;   // with the unit label and its icon
  bool keep_aspect = false;
  bool quality_controls = false;  // slider, its label, mode icon, "≤", size box, "KB", "?"
  bool file_size_shown = false;   // "≤", size box, "KB" and "?" stand in the slider's place

  // "文字水印"
  bool text_controls = false;           // every control of the group
  bool text_horizontal_margin = false;  // offset box and spinner
  bool text_vertical_margin = false;
  bool font_size_list = false;
  bool text_size_scale_controls = false;  // the proportion box and the "高"/"宽" list
  bool text_tiled_spacing = false;        // "间距：", its slider and value label

  // "图片水印"
  bool image_controls = false;
  bool image_horizontal_margin = false;
  bool image_vertical_margin = false;
  bool image_tiled_spacing = false;

  // "边框设置"
  bool border_controls = false;

  // "其他设置": each tone's slider and value label
  bool light = false;
  bool contrast = false;
  bool clearly = false;
  bool saturation = false;
  bool colour_space_lists = false;
  bool srgb_icc = false;
  bool dpi_box = false;  // with "重新采样"

  // "保存到：", its "选择" and "按原文件夹(子文件夹)结构保存图片"
  bool save_folder = false;

  bool operator==(const PanelEnabledStates&) const = default;
};

PanelEnabledStates EnabledStates(const PanelValues& panel);

// Heights of the groups whose title is a switch: open to their full height when on, collapsed to
// a ". . ." placeholder when off.
inline constexpr int kTextGroupOpenHeight = 317;
inline constexpr int kImageGroupOpenHeight = 157;
inline constexpr int kBorderGroupOpenHeight = 138;
inline constexpr int kWatermarkGroupClosedHeight = 50;
inline constexpr int kBorderGroupClosedHeight = 51;

struct GroupHeights {
  int text = 0;
  int image = 0;
  int border = 0;
  bool operator==(const GroupHeights&) const = default;
};

GroupHeights GroupLayout(const PanelValues& panel);

}  // namespace brindle
