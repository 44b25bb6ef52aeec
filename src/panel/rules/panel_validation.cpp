#include "panel/rules/panel_validation.h"

#include <memory>
#include <string>
#include <string_view>

#include "base/info_log.h"
#include "engine/read/supported_picture.h"
#include "engine/watermark/picture_watermark.h"
#include "engine/watermark/text_watermark.h"
#include "panel/rules/number_box.h"
#include "panel/values/panel_controls.h"
#include "panel/values/panel_text.h"
#include "platform/files/file_access.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

// The size box's texts name the side it sets: [0] width, [1] height, [2] any other side.
using SideTexts = const char* const[3];

const char* BySide(int size_type, SideTexts texts) {
  return texts[size_type == 0 ? 0 : size_type == 1 ? 1 : 2];
}

// Scroll up, focus the control, and a hint at it.
Refusal HintAt(std::string_view control, const char* title, std::string text) {
  Refusal refusal = HintRefusal(std::string(control), title, std::move(text));
  refusal.scroll = PanelScroll::kTop;
  return refusal;
}

// A message box (caption "提示") and the focus at the control; with a pointer text, the panel
// scrolls first and a pointer shows the control while the box is open.
Refusal BoxAt(std::string_view control, std::string message, MessageIcon icon,
              const char* pointer_text = nullptr, PanelScroll scroll = PanelScroll::kTop) {
  Refusal refusal;
  refusal.control = control;
  refusal.message = std::move(message);
  refusal.caption = "提示";
  refusal.icon = icon;
  if (pointer_text) {
    refusal.scroll = scroll;
    refusal.pointers.push_back({std::string(control), pointer_text});
  }
  return refusal;
}

// The texts of one watermark's margin refusals.
struct MarginTexts {
  const char* left;
  const char* right;
  const char* top;
  const char* bottom;
};

constexpr MarginTexts kTextMarginTexts = {"文字水印的左边距不能为空", "文字水印的右边距不能为空",
                                          "文字水印的上边距不能为空", "文字水印的下边距不能为空"};
constexpr MarginTexts kImageMarginTexts = {"图片水印的左边距不能为空", "图片水印的右边距不能为空",
                                           "图片水印的上边距不能为空", "图片水印的下边距不能为空"};

// A value a recipe brought that typing could not have: refused with the box's own range text.
Refusal OutOfRange(const PanelValues& panel, NumberBox box) {
  Refusal refusal = *RangeReport(panel, box);
  refusal.scroll = PanelScroll::kTop;
  return refusal;
}

// One direction of a placement: centred (or nothing chosen) takes a margin of digits or 16; a
// margin side needs a margin from 0 to 999.
std::optional<Refusal> CopyMargin(const PanelValues& panel, int direction,
                                  const std::string& margin_text, NumberBox box,
                                  const char* first_side_text, const char* second_side_text,
                                  std::int32_t& direction_field, std::int32_t& value_field) {
  direction_field = direction;
  const std::string margin = TrimmedBoxText(margin_text, kMarginTextLimit);
  if (direction == 1 || direction == 2) {
    if (margin.empty()) {
      return BoxAt(NumberBoxControl(box), direction == 1 ? first_side_text : second_side_text,
                   MessageIcon::kError);
    }
    value_field = IntegerValue(margin);
    if (value_field < 0 || value_field > 999) return OutOfRange(panel, box);
  } else {
    value_field = IsDigitRun(margin) ? IntegerValue(margin) : 16;
  }
  return std::nullopt;
}

std::optional<Refusal> CopyPlacement(const PanelValues& panel, const PanelPlacement& placement,
                                     const MarginTexts& texts, NumberBox horizontal_box,
                                     NumberBox vertical_box, std::int32_t& w_direction,
                                     std::int32_t& w_value, std::int32_t& h_direction,
                                     std::int32_t& h_value) {
  if (auto refusal = CopyMargin(panel, placement.horizontal, placement.horizontal_margin,
                                horizontal_box, texts.left, texts.right, w_direction, w_value)) {
    return refusal;
  }
  return CopyMargin(panel, placement.vertical, placement.vertical_margin, vertical_box, texts.top,
                    texts.bottom, h_direction, h_value);
}

// Rotation boxes: empty is 0; a negative angle is refused.
std::optional<Refusal> CopyRotation(const std::string& rotation_text, std::string_view control,
                                    const char* message, std::int32_t& rotate) {
  const std::string text = BoxText(rotation_text, kRotationTextLimit);
  rotate = text.empty() ? 0 : IntegerValue(text);
  if (rotate < 0) return BoxAt(control, message, MessageIcon::kWarning, "旋转角度不能为负数");
  return std::nullopt;
}

// The values the panel sets the moment the user picks them; validation only carries them over.
void CopyWorkingState(const PanelValues& panel, ProcessingOptions& options) {
  options.zoomUnit = panel.zoom_unit;
  options.qualityMode = panel.quality_mode;
  options.sy_text_fontName = panel.font_name;
  options.sy_text_isBold = panel.bold;
  options.sy_text_isItalic = panel.italic;
  options.sy_text_weight = panel.font_weight;
  options.sy_text_isUnderlineDecoration = panel.underline;
  options.sy_text_isLineThroughDecoration = panel.line_through;
  options.sy_text_htmlColor = panel.text_html_colour;
  options.sy_text_rgbColors = panel.text_colour;
  options.sy_text_background_color = panel.background_colour;
  options.sy_text_border_color = panel.text_border_colour;
  options.border_color = panel.border_colour;
}

std::optional<Refusal> CopyResize(const PanelValues& panel, ProcessingOptions& options) {
  const std::string size_text = TrimmedBoxText(panel.size_text, kSizeTextLimit);
  if (panel.resize) {
    options.bSize = 1;
    options.zoomType = static_cast<ZoomType>(panel.zoom_type);
    options.sizeType = static_cast<SizeType>(panel.size_type);
    const int side = panel.size_type;
    if (size_text.empty()) {
      static SideTexts kEmpty = {"图片宽不能为空", "图片高不能为空", "不能为空"};
      return HintAt(panel_control::kSizeBox, "提示", BySide(side, kEmpty));
    }
    if (options.zoomUnit == ZoomUnit::kPercent) {
      const double percent = DecimalValue(size_text);
      if (percent < 1.0 || percent > 999.99) {
        static SideTexts kRange = {"图片宽的取值范围: 1.0 - 999.9 (百分比)",
                                   "图片高的取值范围: 1.0 - 999.9 (百分比)",
                                   "取值范围: 1.0 - 999.9 (百分比)"};
        return HintAt(panel_control::kSizeBox, "提示", BySide(side, kRange));
      }
      options.fSizeValue = static_cast<float>(percent);
    } else {
      const int pixels = IntegerValue(size_text);
      if (pixels == 0) {
        static SideTexts kZero = {"图片宽不能为 0", "图片高不能为 0", "值不能为 0"};
        return HintAt(panel_control::kSizeBox, "提示", BySide(side, kZero));
      }
      if (pixels < 1 || pixels > 9999) return OutOfRange(panel, NumberBox::kSize);
      options.sizeValue = pixels;
    }
    const bool either_side = side == static_cast<int>(SizeType::kShorterSide) ||
                             side == static_cast<int>(SizeType::kLongerSide);
    if (either_side && !panel.keep_aspect) {
      static const char* const kSideNames[] = {"图片宽：", "图片高：", "宽高设小项：",
                                               "宽高设大项："};
      Refusal refusal =
          HintAt(panel_control::kKeepAspect, "提示",
                 FormatMessage("选择【%s】后，需要勾选【等比例缩放】", kSideNames[side]));
      refusal.scroll = PanelScroll::kNone;
      refusal.take_focus = false;
      return refusal;
    }
  } else {
    options.bSize = 0;
  }
  options.bZoomSameScale = panel.keep_aspect;
  return std::nullopt;
}

std::optional<Refusal> CopyCompression(const PanelValues& panel, ProcessingOptions& options) {
  if (!panel.quality) {
    options.bQuanlity = 0;
    return std::nullopt;
  }
  options.bQuanlity = 1;
  if (options.qualityMode == QualityMode::kMaxFileSize) {
    const std::string text = BoxText(panel.max_file_size_text, kMaxFileSizeTextLimit);
    if (text.empty()) {
      options.maxFileSize = 0;
      return HintAt(panel_control::kMaxFileSizeBox, "请输入", "此项不能为空");
    }
    const int size = IntegerValue(text);
    if (size == 0) {
      options.maxFileSize = 0;
      return HintAt(panel_control::kMaxFileSizeBox, "请重新输入", "值不能为 0");
    }
    options.maxFileSize = size;
  } else {
    options.quanlity = panel.quality_position;
  }
  return std::nullopt;
}

std::optional<Refusal> CopyTextWatermark(PanelValues& panel, RunRecipe& recipe,
                                         const FontCatalogue& catalogue, int screen_dpi) {
  ProcessingOptions& options = recipe.options;
  if (!panel.text_watermark) {
    options.bSYText = 0;
    return std::nullopt;
  }
  options.bSYText = 1;
  std::string text = TrimmedBoxText(panel.text, kWatermarkTextLimit);
  if (auto refusal = CheckTextWatermarkFont(text, options.sy_text_fontName, catalogue)) {
    return refusal;
  }
  options.sy_text = std::move(text);

  const std::string font_size = BoxText(panel.font_size_text, kFontSizeTextLimit);
  if (font_size.empty() || font_size[0] == '-' || IntegerValue(font_size) < 1) {
    panel.font_size_text = "26";
  }
  options.sy_text_fontSize = IntegerValue(BoxText(panel.font_size_text, kFontSizeTextLimit));

  if (auto refusal = CopyPlacement(panel, panel.text_placement, kTextMarginTexts,
                                   NumberBox::kTextHorizontalMargin, NumberBox::kTextVerticalMargin,
                                   options.sy_text_w_direction, options.sy_text_w_value,
                                   options.sy_text_h_direction, options.sy_text_h_value)) {
    return refusal;
  }
  options.sy_text_border_size =
      IntegerValue(BoxText(panel.text_border_size_text, kTextBoxNumberLimit));
  options.sy_text_border_corner_radius =
      IntegerValue(BoxText(panel.corner_radius_text, kTextBoxNumberLimit));
  options.sy_text_padding_left_right =
      IntegerValue(BoxText(panel.padding_left_right_text, kTextBoxNumberLimit));
  options.sy_text_padding_top_bottom =
      IntegerValue(BoxText(panel.padding_top_bottom_text, kTextBoxNumberLimit));
  if (options.sy_text_padding_left_right < 0 || options.sy_text_padding_left_right > 99) {
    return OutOfRange(panel, NumberBox::kPaddingLeftRight);
  }
  if (options.sy_text_padding_top_bottom < 0 || options.sy_text_padding_top_bottom > 99) {
    return OutOfRange(panel, NumberBox::kPaddingTopBottom);
  }
  if (auto refusal = CopyRotation(panel.text_rotation_text, panel_control::kTextRotation,
                                  "文字水印旋转角度不能为负数", options.sy_text_rotate)) {
    return refusal;
  }
  options.sy_text_opacity = panel.text_opacity;
  options.bTiled = panel.text_tiled;
  if (panel.text_tiled) options.nTiledSpacing = panel.text_tiled_spacing;

  if (!recipe.text_watermark) recipe.text_watermark = std::make_shared<TextWatermark>();
  if (!panel.text_size_scale) {
    options.bTextSizeScale = 0;
    PrepareTextWatermark(*recipe.text_watermark, options, catalogue, screen_dpi);
    return std::nullopt;
  }
  const std::string ratio = BoxText(panel.text_size_scale_text, kSizeRatioTextLimit);
  if (ratio.empty()) {
    return BoxAt(panel_control::kTextSizeScaleBox, "文字大小按比例缩放的值不能为空",
                 MessageIcon::kWarning, "此项不能为空");
  }
  const int ratio_value = IntegerValue(ratio);
  if (ratio_value == 0) {
    return BoxAt(panel_control::kTextSizeScaleBox, "文字大小按比例缩放的值不能为 0",
                 MessageIcon::kWarning, "此项不能为 0");
  }
  options.bTextSizeScale = 1;
  options.nTextSizeScaleValue = ratio_value;
  options.nTextSizeScaleType = panel.text_size_scale_type != 0 ? 1 : 0;
  if (!PrepareScaledTextWatermark(*recipe.text_watermark, options, catalogue, screen_dpi)) {
    return ScaledTextFontRefusal(panel.font_box_text);
  }
  return std::nullopt;
}

std::optional<Refusal> CopyPictureWatermark(const PanelValues& panel, RunRecipe& recipe) {
  ProcessingOptions& options = recipe.options;
  std::string path = TrimmedBoxText(panel.image_path, kWatermarkPathLimit);
  if (!panel.image_watermark) {
    options.bSYImage = 0;
    return std::nullopt;
  }
  options.bSYImage = 1;
  if (!path.empty()) {
    const char* problem = nullptr;
    if (!CanOpenForReading(path)) {
      problem = "水印图片不存在，请重新选择";
    } else if (!IsSupportedPicture(path)) {
      problem = "水印图片格式不对，请重新选择";
    }
    if (problem) {
      Refusal refusal = BoxAt(panel_control::kImageChooseButton, problem, MessageIcon::kError);
      refusal.scroll = PanelScroll::kTop;
      refusal.pointers.push_back({std::string(panel_control::kImagePath), problem});
      return refusal;
    }
  }
  options.sy_image = std::move(path);
  if (auto refusal = CopyPlacement(
          panel, panel.image_placement, kImageMarginTexts, NumberBox::kImageHorizontalMargin,
          NumberBox::kImageVerticalMargin, options.sy_image_w_direction, options.sy_image_w_value,
          options.sy_image_h_direction, options.sy_image_h_value)) {
    return refusal;
  }
  if (auto refusal = CopyRotation(panel.image_rotation_text, panel_control::kImageRotation,
                                  "图片水印旋转角度不能为负数", options.sy_image_rotate)) {
    return refusal;
  }
  options.sy_image_tiled = panel.image_tiled;
  if (panel.image_tiled) options.sy_image_tiled_spacing = panel.image_tiled_spacing;
  options.sy_image_opacity = panel.image_opacity;

  MagickWandPtr prepared;
  std::optional<Refusal> refusal = PrepareWatermarkPicture(options, prepared);
  recipe.watermark_picture = std::move(prepared);
  return refusal;
}

void CopyTone(const PanelTone& tone, std::int32_t& flag, std::int32_t& value) {
  flag = tone.on;
  if (tone.on) value = tone.value;
}

void CopyRemainingSwitches(const PanelValues& panel, ProcessingOptions& options) {
  options.bBorder = panel.border;
  if (panel.border) {
    options.border_location = static_cast<BorderLocation>(panel.border_location);
    options.border_size = panel.border_size;
    options.border_padding = panel.border_padding;
  }
  CopyTone(panel.light, options.bLight, options.lightValue);
  CopyTone(panel.contrast, options.bContrast, options.contrastValue);
  CopyTone(panel.clearly, options.bClearly, options.clearlyValue);
  CopyTone(panel.saturation, options.bSaturation, options.saturationValue);
  options.bConvertBlackToWhite = panel.black_and_white;
  options.bRemovePhotoOtherInfo = panel.remove_exif;
  options.outputFormat = static_cast<OutputFormat>(panel.output_format);
  options.bColorspaceTo = panel.colour_space;
  if (panel.colour_space) {
    options.fromColorspace = static_cast<ColorspaceChoice>(panel.from_colour_space);
    options.toColorspace = static_cast<ColorspaceChoice>(panel.to_colour_space);
    options.bUseSRGB_ICC = panel.srgb_icc;
  }
}

std::optional<Refusal> CopyResolution(const PanelValues& panel, ProcessingOptions& options) {
  options.bDpi = panel.dpi;
  if (panel.dpi) {
    const std::string text = TrimmedBoxText(panel.dpi_text, kDpiTextLimit);
    if (!text.empty()) {
      // At most 15 digits: the value fits a long long.
      const long long value = IsDigitRun(text) ? std::stoll(text) : 0;
      if (value < 1 || value > 65535) {
        return BoxAt(panel_control::kDpiBox, "图片分辨率(DPI)的值范围: 1 - 65535, 请重新输入",
                     MessageIcon::kError, "图片分辨率(DPI)的值范围: 1 - 65535, 请重新输入",
                     PanelScroll::kBottom);
      }
      options.dpi = static_cast<std::int32_t>(value);
      options.bDpiResample = panel.resample;
      return std::nullopt;
    }
  }
  options.dpi = -1;
  options.bDpiResample = 0;
  return std::nullopt;
}

}  // namespace

std::optional<Refusal> ValidatePanel(PanelValues& panel, RunRecipe& recipe,
                                     const FontCatalogue& catalogue, int screen_dpi) {
  ProcessingOptions& options = recipe.options;
  CopyWorkingState(panel, options);
  if (auto refusal = CopyResize(panel, options)) return refusal;
  if (auto refusal = CopyCompression(panel, options)) return refusal;
  if (auto refusal = CopyTextWatermark(panel, recipe, catalogue, screen_dpi)) return refusal;
  if (auto refusal = CopyPictureWatermark(panel, recipe)) return refusal;
  CopyRemainingSwitches(panel, options);
  return CopyResolution(panel, options);
}

}  // namespace brindle
