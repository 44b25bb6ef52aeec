#pragma once
// The settings panel as a plain value: what every control shows (texts, list choices, check states,
// slider positions, colours) and the panel's working state (size unit, quality mode, the chosen
// face, style flags). The desktop program binds its widgets to it; loading a recipe fills it, the
// panel rules change it as the user works, and validation copies it into the recipe.
//
// Lists hold the index of their choice, -1 when nothing is chosen. Number boxes hold their text as
// typed, since validation decides what a text means.

#include <cstdint>
#include <string>

#include "recipe/processing_options.h"
#include "run/target/placement_mode.h"

namespace brindle {

inline constexpr int kNoChoice = -1;

// Entry counts of the panel's fixed lists.
inline constexpr int kZoomTypeCount = 3;  // "缩小", "放大", "缩放"
inline constexpr int kSizeTypeCount = 4;  // "图片宽：", "图片高：", "宽高设小项：", "宽高设大项："
inline constexpr int kPlacementCount = 3;  // "水平距中", "左边距", "右边距" (vertical alike)
inline constexpr int kScaleTypeCount = 2;        // "高", "宽"
inline constexpr int kBorderLocationCount = 2;   // "外部", "内部"
inline constexpr int kFromColourSpaceCount = 4;  // "CMYK", "RGB", "sRGB", "全部"
inline constexpr int kToColourSpaceCount = 3;    // "CMYK", "RGB", "sRGB"

// Slider ranges.
inline constexpr int kQualityMin = 10, kQualityMax = 100;
inline constexpr int kOpacityMin = 1, kOpacityMax = 100;
inline constexpr int kTiledSpacingMin = 0, kTiledSpacingMax = 500;
inline constexpr int kBorderSizeMin = 1, kBorderSizeMax = 64;
inline constexpr int kBorderPaddingMin = 0, kBorderPaddingMax = 64;
inline constexpr int kToneMin = -100, kToneMax = 100;

// One watermark's position: the horizontal and vertical lists with their offset boxes.
struct PanelPlacement {
  int horizontal = 2;  // "水平距中", "左边距", "右边距"
  std::string horizontal_margin = "16";
  int vertical = 2;  // "垂直距中", "上边距", "下边距"
  std::string vertical_margin = "16";
  bool operator==(const PanelPlacement&) const = default;
};

// A tone switch with its slider.
struct PanelTone {
  bool on = false;
  int value = 0;
  bool operator==(const PanelTone&) const = default;
};

// Defaults are the panel as it is created.
struct PanelValues {
  // "基本设置"
  bool resize = false;
  int zoom_type = 0;  // the kind list
  int size_type = 0;  // the side list
  std::string size_text = "750";
  ZoomUnit zoom_unit = ZoomUnit::kPixel;
  int zoom_type_before_percent = 0;  // the kind that comes back when the unit returns to pixel
  bool keep_aspect = true;
  bool quality = false;
  int quality_position = 90;
  QualityMode quality_mode = QualityMode::kFixedQuality;
  std::string max_file_size_text = "128";

  // "文字水印"
  bool text_watermark = false;
  std::string text;           // "文字："
  std::string font_name;      // the chosen face name, as the recipe stores it
  std::string font_box_text;  // what the read-only font box shows
  std::string font_size_text = "26";
  std::string font_summary;      // "字体:%s, 大小:%d, 颜色:%s" of the loaded recipe
  std::int32_t text_colour = 0;  // 0x00BBGGRR
  std::string text_html_colour = "#000000";
  bool bold = false;       // "B"
  bool italic = false;     // "I"
  bool underline = false;  // "T"
  bool line_through = false;
  int font_weight = 400;
  PanelPlacement text_placement;
  std::int32_t background_colour = -1;  // -1 = no box
  std::uint32_t text_border_colour = 0;
  std::string text_border_size_text = "0";    // "边框："
  std::string corner_radius_text = "0";       // "角的半径："
  std::string padding_left_right_text = "0";  // "左右填充："
  std::string padding_top_bottom_text = "0";  // "上下填充："
  std::string text_rotation_text = "0";
  int text_opacity = 100;
  bool text_size_scale = false;  // "文字大小按比例"
  std::string text_size_scale_text = "6";
  int text_size_scale_type = 0;  // "高", "宽"
  bool text_tiled = false;
  int text_tiled_spacing = 16;

  // "图片水印"
  bool image_watermark = false;
  std::string image_path;  // "图片："
  PanelPlacement image_placement;
  std::string image_rotation_text = "0";
  int image_opacity = 100;
  bool image_tiled = false;
  int image_tiled_spacing = 16;

  // "边框设置"
  bool border = false;
  int border_location = 0;
  int border_size = 3;
  std::int32_t border_colour = 0;
  int border_padding = 0;

  // "其他设置"
  PanelTone light;       // "亮  度："
  PanelTone contrast;    // "对比度："
  PanelTone clearly;     // "清晰度："
  PanelTone saturation;  // "饱和度："
  bool black_and_white = false;
  bool remove_exif = false;
  bool colour_space = false;
  int from_colour_space = 0;
  int to_colour_space = 2;
  bool srgb_icc = false;
  bool dpi = false;  // "分辨率(DPI)："
  std::string dpi_text;
  bool resample = false;  // "重新采样"

  // "处理后保存到" / "直接覆盖原图"
  PlacementMode save_mode = PlacementMode::kNone;
  std::string save_folder_text;        // "保存到："
  std::string remembered_save_folder;  // shown again when "处理后保存到" is selected
  bool keep_structure = false;         // "按原文件夹(子文件夹)结构保存图片"
  int output_format = 0;               // "输出格式：" 0 "JPEG", 1 "WebP", 2 "AVIF"

  bool operator==(const PanelValues&) const = default;
};

}  // namespace brindle
