#pragma once
// The names of the settings panel's controls, as refusals, hints and help texts name them. The
// desktop program gives each widget its name, so a refusal finds its control by it.

#include <string_view>

#include "engine/watermark/text_watermark_controls.h"

namespace brindle::panel_control {

// "基本设置"
inline constexpr std::string_view kResize = "resize_check";
inline constexpr std::string_view kZoomTypeList = "zoom_type_list";
inline constexpr std::string_view kSizeTypeList = "size_type_list";
inline constexpr std::string_view kSizeBox = "size_box";
inline constexpr std::string_view kUnitLabel = "unit_label";
inline constexpr std::string_view kKeepAspect = "keep_aspect_check";
inline constexpr std::string_view kQuality = "quality_check";
inline constexpr std::string_view kQualitySlider = "quality_slider";
inline constexpr std::string_view kQualityModeButton = "quality_mode_button";
inline constexpr std::string_view kMaxFileSizeBox = "max_file_size_box";
inline constexpr std::string_view kMaxFileSizeHelp = "max_file_size_help_button";

// "文字水印"
inline constexpr std::string_view kTextWatermark = "text_watermark_check";
inline constexpr std::string_view kText = kTextControl;
inline constexpr std::string_view kFontBox = kTextFontControl;
inline constexpr std::string_view kFontSizeList = "sy_text_font_size_list";
inline constexpr std::string_view kTextColour = "sy_text_colour_button";
inline constexpr std::string_view kBold = "sy_text_bold_button";
inline constexpr std::string_view kItalic = "sy_text_italic_button";
inline constexpr std::string_view kUnderline = "sy_text_underline_button";
inline constexpr std::string_view kLineThrough = "sy_text_line_through_button";
inline constexpr std::string_view kTextHorizontalList = "sy_text_w_list";
inline constexpr std::string_view kTextHorizontalMargin = "sy_text_w_box";
inline constexpr std::string_view kTextVerticalList = "sy_text_h_list";
inline constexpr std::string_view kTextVerticalMargin = "sy_text_h_box";
inline constexpr std::string_view kBackgroundColour = "sy_text_background_button";
inline constexpr std::string_view kClearBackground = "sy_text_clear_background_button";
inline constexpr std::string_view kTextBorderColour = "sy_text_border_colour_button";
inline constexpr std::string_view kTextBorderSizeList = "sy_text_border_size_list";
inline constexpr std::string_view kCornerRadiusList = "sy_text_corner_radius_list";
inline constexpr std::string_view kPaddingLeftRight = "sy_text_padding_left_right_box";
inline constexpr std::string_view kPaddingTopBottom = "sy_text_padding_top_bottom_box";
inline constexpr std::string_view kTextRotation = "sy_text_rotate_box";
inline constexpr std::string_view kTextRotationPresets = "sy_text_rotate_button";
inline constexpr std::string_view kTextOpacity = "sy_text_opacity_slider";
inline constexpr std::string_view kTextSizeScale = "text_size_scale_check";
inline constexpr std::string_view kTextSizeScaleBox = "text_size_scale_box";
inline constexpr std::string_view kTextSizeScaleTypeList = "text_size_scale_type_list";
inline constexpr std::string_view kTextTiled = "sy_text_tiled_check";
inline constexpr std::string_view kTextTiledSpacing = "sy_text_tiled_spacing_slider";

// "图片水印"
inline constexpr std::string_view kImageWatermark = "image_watermark_check";
inline constexpr std::string_view kImagePath = "sy_image_box";
inline constexpr std::string_view kImageChooseButton = "sy_image_choose_button";
inline constexpr std::string_view kImageHorizontalList = "sy_image_w_list";
inline constexpr std::string_view kImageHorizontalMargin = "sy_image_w_box";
inline constexpr std::string_view kImageVerticalList = "sy_image_h_list";
inline constexpr std::string_view kImageVerticalMargin = "sy_image_h_box";
inline constexpr std::string_view kImageRotation = "sy_image_rotate_box";
inline constexpr std::string_view kImageRotationPresets = "sy_image_rotate_button";
inline constexpr std::string_view kImageOpacity = "sy_image_opacity_slider";
inline constexpr std::string_view kImageTiled = "sy_image_tiled_check";
inline constexpr std::string_view kImageTiledSpacing = "sy_image_tiled_spacing_slider";

// "边框设置"
inline constexpr std::string_view kBorder = "border_check";
inline constexpr std::string_view kBorderLocationList = "border_location_list";
inline constexpr std::string_view kBorderSize = "border_size_slider";
inline constexpr std::string_view kBorderColour = "border_colour_button";
inline constexpr std::string_view kBorderPadding = "border_padding_slider";

// "其他设置"
inline constexpr std::string_view kLight = "light_check";
inline constexpr std::string_view kLightSlider = "light_slider";
inline constexpr std::string_view kContrast = "contrast_check";
inline constexpr std::string_view kContrastSlider = "contrast_slider";
inline constexpr std::string_view kClearly = "clearly_check";
inline constexpr std::string_view kClearlySlider = "clearly_slider";
inline constexpr std::string_view kSaturation = "saturation_check";
inline constexpr std::string_view kSaturationSlider = "saturation_slider";
inline constexpr std::string_view kBlackAndWhite = "black_and_white_check";
inline constexpr std::string_view kRemoveExif = "remove_exif_check";
inline constexpr std::string_view kColourSpace = "colour_space_check";
inline constexpr std::string_view kFromColourSpaceList = "from_colour_space_list";
inline constexpr std::string_view kToColourSpaceList = "to_colour_space_list";
inline constexpr std::string_view kSrgbIcc = "srgb_icc_check";
inline constexpr std::string_view kDpi = "dpi_check";
inline constexpr std::string_view kDpiBox = "dpi_box";
inline constexpr std::string_view kResample = "resample_check";

// "处理后保存到" / "直接覆盖原图"
inline constexpr std::string_view kSaveToFolder = "save_to_folder_option";
inline constexpr std::string_view kOverwrite = "overwrite_option";
inline constexpr std::string_view kSaveFolderBox = "save_folder_box";
inline constexpr std::string_view kSaveFolderButton = "save_folder_button";
inline constexpr std::string_view kKeepStructure = "keep_structure_check";
// "输出格式：" with "JPEG", "WebP", "AVIF"
inline constexpr std::string_view kOutputFormatList = "output_format_list";

inline constexpr std::string_view kStartButton = "start_button";

}  // namespace brindle::panel_control

namespace brindle::window_control {

// The main window's parts that have help texts besides the panel's controls.
inline constexpr std::string_view kPictureList = "picture_list";
inline constexpr std::string_view kEffectPreview = "effect_preview";

}  // namespace brindle::window_control
