#pragma once
// The records the recipe file tests share: the reader's presets, a fresh installation's record, a
// record with every field set, and a text read through a file.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "platform/text/text_encoding.h"
#include "recipe/options_file.h"
#include "recipe/processing_options.h"
#include "support/test_support.h"

namespace brindle {

// Failure messages show a record as its recipe text.
inline void PrintTo(const ProcessingOptions& options, std::ostream* out) {
  *out << "\n" << GbkToUtf8(FormatOptionsText(options));
}

namespace recipe_samples {

using test::TempFolder;

inline const std::string kSongTiGbk = "\xCB\xCE\xCC\xE5";

// A zero-filled record after the reader's presets.
inline ProcessingOptions Presets() {
  ProcessingOptions o{};
  o.bZoomSameScale = 1;
  o.dpi = -1;
  o.toColorspace = ColorspaceChoice::kSrgb;
  o.sy_text_background_color = -1;
  o.fSizeValue = 100.0f;
  o.nTextSizeScaleValue = 6;
  o.nTiledSpacing = 16;
  o.sy_image_tiled_spacing = 16;
  o.sy_text_weight = 400;
  o.sy_text_fontSize = 26;
  return o;
}

// What a fresh installation starts with.
inline ProcessingOptions Initial() {
  ProcessingOptions o{};
  o.sizeValue = 750;
  o.fSizeValue = 100.0f;
  o.bZoomSameScale = 1;
  o.quanlity = 91;
  o.sy_text_opacity = 100;
  o.sy_text_w_direction = 2;
  o.sy_text_w_value = 16;
  o.sy_text_h_direction = 2;
  o.sy_text_h_value = 16;
  o.sy_text_fontName = "宋体";
  o.sy_text_fontSize = 26;
  o.sy_text_htmlColor = "#000000";
  o.sy_text_weight = 400;
  o.sy_text_background_color = -1;
  o.nTextSizeScaleValue = 6;
  o.nTiledSpacing = 16;
  o.sy_image_w_direction = 2;
  o.sy_image_w_value = 16;
  o.sy_image_h_direction = 2;
  o.sy_image_h_value = 16;
  o.sy_image_opacity = 100;
  o.sy_image_tiled_spacing = 16;
  o.toColorspace = ColorspaceChoice::kSrgb;
  o.dpi = -1;
  return o;
}

// Every field set, each to a value of its own that none of the presets has.
inline ProcessingOptions Filled() {
  ProcessingOptions o{};
  o.bSize = 1;
  o.zoomType = ZoomType::kScale;
  o.sizeType = SizeType::kLongerSide;
  o.sizeValue = 1234;
  o.fSizeValue = 37.25f;
  o.zoomUnit = ZoomUnit::kPercent;
  o.bZoomSameScale = 0;
  o.bQuanlity = 1;
  o.quanlity = 77;
  o.qualityMode = QualityMode::kMaxFileSize;
  o.maxFileSize = 512;
  o.bSYText = 1;
  o.sy_text = "版权所有 Brindle 2024年";
  o.sy_text_rotate = 45;
  o.sy_text_opacity = 60;
  o.sy_text_w_direction = 1;
  o.sy_text_w_value = 21;
  o.sy_text_h_direction = 0;
  o.sy_text_h_value = 22;
  o.sy_text_fontName = "微软雅黑";
  o.sy_text_fontSize = 31;
  o.sy_text_rgbColors = 0x00123456;
  o.sy_text_htmlColor = "#563412";
  o.sy_text_isItalic = 1;
  o.sy_text_isBold = 1;
  o.sy_text_weight = 700;
  o.sy_text_isUnderlineDecoration = 1;
  o.sy_text_isLineThroughDecoration = 1;
  o.sy_text_background_color = 0x00ABCDEF;
  o.sy_text_border_size = 3;
  o.sy_text_border_corner_radius = 5;
  o.sy_text_border_color = 0xFFFFFFFFu;
  o.sy_text_padding_left_right = 7;
  o.sy_text_padding_top_bottom = 8;
  o.bTextSizeScale = 1;
  o.nTextSizeScaleValue = 9;
  o.nTextSizeScaleType = 1;
  o.bTiled = 1;
  o.nTiledSpacing = 33;
  o.bSYImage = 1;
  o.sy_image = "/home/用户/图片/标志 logo.png";
  o.sy_image_w_direction = 1;
  o.sy_image_w_value = 41;
  o.sy_image_h_direction = 1;
  o.sy_image_h_value = 42;
  o.sy_image_rotate = 90;
  o.sy_image_opacity = 50;
  o.sy_image_tiled = 1;
  o.sy_image_tiled_spacing = 44;
  o.bBorder = 1;
  o.border_location = BorderLocation::kInside;
  o.border_size = 12;
  o.border_color = -16777216;
  o.border_padding = 4;
  o.bLight = 1;
  o.lightValue = -20;
  o.bContrast = 1;
  o.contrastValue = 30;
  o.bClearly = 1;
  o.clearlyValue = -40;
  o.bSaturation = 1;
  o.saturationValue = 50;
  o.bConvertBlackToWhite = 1;
  o.bRemovePhotoOtherInfo = 1;
  o.bColorspaceTo = 1;
  o.fromColorspace = ColorspaceChoice::kAll;
  o.toColorspace = ColorspaceChoice::kRgb;
  o.bUseSRGB_ICC = 1;
  o.bDpi = 1;
  o.dpi = 300;
  o.bDpiResample = 1;
  return o;
}

// Reads bytes written to a file over the given record.
inline ProcessingOptions ReadText(const std::string& bytes, ProcessingOptions start = {}) {
  TempFolder folder;
  test::WriteFile(folder / "recipe.sz", bytes);
  EXPECT_TRUE(ReadOptionsFile(start, folder / "recipe.sz"));
  return start;
}

inline std::vector<std::string> SplitCrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find("\r\n", pos);
    if (end == std::string::npos) {
      lines.push_back(text.substr(pos));
      break;
    }
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

}  // namespace recipe_samples
}  // namespace brindle
