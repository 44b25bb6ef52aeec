#pragma once
// The names of the settings panel's controls, as refusals and hints name them. The desktop program
// maps each to its widget.

#include <string_view>

#include "engine/text_watermark_controls.h"

namespace brindle::panel_control {

inline constexpr std::string_view kResize = "resize_check";
inline constexpr std::string_view kSizeTypeList = "size_type_list";
inline constexpr std::string_view kSizeBox = "size_box";
inline constexpr std::string_view kKeepAspect = "keep_aspect_check";
inline constexpr std::string_view kMaxFileSizeBox = "max_file_size_box";

inline constexpr std::string_view kText = kTextControl;
inline constexpr std::string_view kFontBox = kTextFontControl;
inline constexpr std::string_view kTextHorizontalMargin = "sy_text_w_box";
inline constexpr std::string_view kTextVerticalMargin = "sy_text_h_box";
inline constexpr std::string_view kPaddingLeftRight = "sy_text_padding_left_right_box";
inline constexpr std::string_view kPaddingTopBottom = "sy_text_padding_top_bottom_box";
inline constexpr std::string_view kTextRotation = "sy_text_rotate_box";
inline constexpr std::string_view kTextSizeScaleBox = "text_size_scale_box";

inline constexpr std::string_view kImagePath = "sy_image_box";
inline constexpr std::string_view kImageChooseButton = "sy_image_choose_button";
inline constexpr std::string_view kImageHorizontalMargin = "sy_image_w_box";
inline constexpr std::string_view kImageVerticalMargin = "sy_image_h_box";
inline constexpr std::string_view kImageRotation = "sy_image_rotate_box";

inline constexpr std::string_view kDpi = "dpi_check";
inline constexpr std::string_view kDpiBox = "dpi_box";
inline constexpr std::string_view kResample = "resample_check";

}  // namespace brindle::panel_control
