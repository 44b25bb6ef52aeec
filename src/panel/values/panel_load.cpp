#include "panel/values/panel_load.h"

#include <algorithm>
#include <string_view>

#include "base/info_log.h"
#include "base/number_text.h"
#include "panel/values/panel_choices.h"
#include "platform/files/access_time.h"
#include "recipe/options_file.h"

namespace brindle {
namespace {

// A list shows the entry of the stored index; an index it does not have leaves nothing chosen.
int ListChoice(int index, int count) { return index >= 0 && index < count ? index : kNoChoice; }

// A slider cannot stand outside its range.
int SliderPosition(int value, int low, int high) { return std::clamp(value, low, high); }

std::string Decimal(long long value) { return std::to_string(value); }

// Rotation boxes never show a negative angle.
std::string RotationText(int rotate) { return rotate < 0 ? "0" : Decimal(rotate); }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

std::string FontBoxChoice(const std::string& face_name, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    if (SameIgnoringCase(name, face_name)) return name;
  }
  return names.empty() ? std::string() : names.front();
}

PanelPlacement Placement(int horizontal, int horizontal_margin, int vertical, int vertical_margin) {
  return {ListChoice(horizontal, kPlacementCount), Decimal(horizontal_margin),
          ListChoice(vertical, kPlacementCount), Decimal(vertical_margin)};
}

PanelTone Tone(int on, int value) { return {on != 0, SliderPosition(value, kToneMin, kToneMax)}; }

}  // namespace

std::string FontSummaryText(const ProcessingOptions& options) {
  std::string summary = FormatMessage("字体:%s, 大小:%d, 颜色:%s", options.sy_text_fontName.c_str(),
                                      options.sy_text_fontSize, options.sy_text_htmlColor.c_str());
  const bool bold = options.sy_text_weight > 400;
  if (options.sy_text_isItalic && bold) {
    summary += ", 粗斜体";
  } else if (options.sy_text_isItalic) {
    summary += ", 斜体";
  } else if (bold) {
    summary += ", 粗体";
  }
  return summary;
}

void LoadPanelValues(ProcessingOptions& options, const std::vector<std::string>& font_box_names,
                     PanelValues& panel) {
  // "基本设置"
  panel.resize = options.bSize != 0;
  panel.zoom_unit = ZoomUnit::kPixel;
  panel.zoom_type = ListChoice(static_cast<int>(options.zoomType), kZoomTypeCount);
  panel.zoom_type_before_percent = panel.zoom_type;
  panel.size_type = ListChoice(static_cast<int>(options.sizeType), kSizeTypeCount);
  if (options.zoomUnit == ZoomUnit::kPercent) {
    panel.size_text = FixedText(static_cast<double>(options.fSizeValue), 2);
    SetZoomUnit(panel, ZoomUnit::kPercent);
  } else {
    panel.size_text = Decimal(options.sizeValue);
  }
  panel.keep_aspect = options.bZoomSameScale != 0;
  RefreshKeepAspect(panel);
  panel.quality = options.bQuanlity != 0;
  panel.quality_position = SliderPosition(options.quanlity, kQualityMin, kQualityMax);
  panel.max_file_size_text = options.maxFileSize == 0 ? "" : Decimal(options.maxFileSize);
  panel.quality_mode = options.qualityMode;

  // "文字水印"
  panel.text_watermark = options.bSYText != 0;
  panel.text = options.sy_text;
  panel.font_name = options.sy_text_fontName;
  panel.font_box_text = FontBoxChoice(options.sy_text_fontName, font_box_names);
  panel.font_size_text = Decimal(options.sy_text_fontSize);
  panel.font_summary = FontSummaryText(options);
  panel.text_colour = options.sy_text_rgbColors;
  panel.text_html_colour = options.sy_text_htmlColor;
  panel.bold = options.sy_text_isBold != 0;
  panel.italic = options.sy_text_isItalic != 0;
  panel.underline = options.sy_text_isUnderlineDecoration != 0;
  panel.line_through = options.sy_text_isLineThroughDecoration != 0;
  panel.font_weight = options.sy_text_weight;
  panel.text_placement = Placement(options.sy_text_w_direction, options.sy_text_w_value,
                                   options.sy_text_h_direction, options.sy_text_h_value);
  panel.background_colour = options.sy_text_background_color;
  panel.text_border_colour = options.sy_text_border_color;
  panel.text_border_size_text = Decimal(options.sy_text_border_size);
  panel.corner_radius_text = Decimal(options.sy_text_border_corner_radius);
  panel.padding_left_right_text = Decimal(options.sy_text_padding_left_right);
  panel.padding_top_bottom_text = Decimal(options.sy_text_padding_top_bottom);
  panel.text_rotation_text = RotationText(options.sy_text_rotate);
  panel.text_opacity = SliderPosition(options.sy_text_opacity, kOpacityMin, kOpacityMax);
  panel.text_size_scale = options.bTextSizeScale != 0;
  panel.text_size_scale_text = Decimal(options.nTextSizeScaleValue);
  panel.text_size_scale_type = ListChoice(options.nTextSizeScaleType, kScaleTypeCount);
  panel.text_tiled = options.bTiled != 0;
  panel.text_tiled_spacing =
      SliderPosition(options.nTiledSpacing, kTiledSpacingMin, kTiledSpacingMax);

  // "图片水印"
  panel.image_watermark = options.bSYImage != 0;
  panel.image_path = options.sy_image;
  panel.image_placement = Placement(options.sy_image_w_direction, options.sy_image_w_value,
                                    options.sy_image_h_direction, options.sy_image_h_value);
  panel.image_rotation_text = RotationText(options.sy_image_rotate);
  panel.image_opacity = SliderPosition(options.sy_image_opacity, kOpacityMin, kOpacityMax);
  panel.image_tiled = options.sy_image_tiled != 0;
  panel.image_tiled_spacing =
      SliderPosition(options.sy_image_tiled_spacing, kTiledSpacingMin, kTiledSpacingMax);

  // "边框设置"
  panel.border = options.bBorder != 0;
  panel.border_location =
      ListChoice(static_cast<int>(options.border_location), kBorderLocationCount);
  panel.border_size = SliderPosition(options.border_size, kBorderSizeMin, kBorderSizeMax);
  panel.border_colour = options.border_color;
  panel.border_padding =
      SliderPosition(options.border_padding, kBorderPaddingMin, kBorderPaddingMax);

  // "其他设置"
  panel.light = Tone(options.bLight, options.lightValue);
  panel.contrast = Tone(options.bContrast, options.contrastValue);
  panel.clearly = Tone(options.bClearly, options.clearlyValue);
  panel.saturation = Tone(options.bSaturation, options.saturationValue);
  panel.black_and_white = options.bConvertBlackToWhite != 0;
  panel.remove_exif = options.bRemovePhotoOtherInfo != 0;
  panel.output_format = static_cast<int>(options.outputFormat);
  panel.colour_space = options.bColorspaceTo != 0;
  panel.from_colour_space =
      ListChoice(static_cast<int>(options.fromColorspace), kFromColourSpaceCount);
  panel.to_colour_space = ListChoice(static_cast<int>(options.toColorspace), kToColourSpaceCount);
  panel.srgb_icc = options.bUseSRGB_ICC != 0;
  panel.dpi = options.bDpi != 0;
  if (options.dpi < 1 || options.dpi > 65535) options.dpi = -1;
  panel.dpi_text = options.dpi == -1 ? "" : Decimal(options.dpi);
  panel.resample = options.bDpiResample != 0;
}

bool ApplyOptionsToPanel(const std::filesystem::path& path,
                         const std::filesystem::path& recipe_folder,
                         const std::vector<std::string>& font_box_names, ProcessingOptions& options,
                         PanelValues& panel) {
  // Read aside first: a file that cannot be read must not leave a zero-filled record behind a panel
  // that still shows the old values.
  ProcessingOptions loaded{};
  if (!ReadOptionsFile(loaded, path)) return false;
  if (IsInsideFolder(path, recipe_folder)) MarkAccessedNow(path);
  options = loaded;
  LoadPanelValues(options, font_box_names, panel);
  return true;
}

}  // namespace brindle
