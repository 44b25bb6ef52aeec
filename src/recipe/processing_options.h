#pragma once
// The main recipe: every setting of the settings panel that the per-picture pipeline needs.
// Field names are the keys of config.dat and ".sz" recipe files. Texts are UTF-8 in memory; each
// text field keeps the byte size of its stored buffer, and its GBK form always fits that buffer
// with room for the terminator.

#include <cstddef>
#include <cstdint>
#include <string>

namespace brindle {

enum class ZoomType : std::int32_t { kShrink = 0, kEnlarge = 1, kScale = 2 };
enum class SizeType : std::int32_t { kWidth = 0, kHeight = 1, kShorterSide = 2, kLongerSide = 3 };
enum class ZoomUnit : std::int32_t { kPixel = 0, kPercent = 1 };
enum class QualityMode : std::int32_t { kFixedQuality = 0, kMaxFileSize = 1 };
enum class BorderLocation : std::int32_t { kOutside = 0, kInside = 1 };
enum class ColorspaceChoice : std::int32_t { kCmyk = 0, kRgb = 1, kSrgb = 2, kAll = 3 };
// The main batch's output format, stored as the text "JPG", "WEBP" or "AVIF".
enum class OutputFormat : std::int32_t { kJpg = 0, kWebp = 1, kAvif = 2 };

// Stored buffer sizes (bytes, terminator included) of the text fields.
inline constexpr std::size_t kSyTextBufferSize = 256;
inline constexpr std::size_t kFontNameBufferSize = 256;
inline constexpr std::size_t kHtmlColorBufferSize = 8;
inline constexpr std::size_t kSyImageBufferSize = 260;

// Value-initialised ({}), the record is the zero-filled record.
struct ProcessingOptions {
  // Resize
  std::int32_t bSize = 0;
  ZoomType zoomType = ZoomType::kShrink;
  SizeType sizeType = SizeType::kWidth;
  std::int32_t sizeValue = 0;
  float fSizeValue = 0.0f;
  ZoomUnit zoomUnit = ZoomUnit::kPixel;
  std::int32_t bZoomSameScale = 0;

  // Compression
  std::int32_t bQuanlity = 0;
  std::int32_t quanlity = 0;
  QualityMode qualityMode = QualityMode::kFixedQuality;
  std::int32_t maxFileSize = 0;

  // Text watermark
  std::int32_t bSYText = 0;
  std::string sy_text;
  std::int32_t sy_text_rotate = 0;
  std::int32_t sy_text_opacity = 0;
  std::int32_t sy_text_w_direction = 0;
  std::int32_t sy_text_w_value = 0;
  std::int32_t sy_text_h_direction = 0;
  std::int32_t sy_text_h_value = 0;
  std::string sy_text_fontName;
  std::int32_t sy_text_fontSize = 0;
  std::int32_t sy_text_rgbColors = 0;  // 0x00BBGGRR
  std::string sy_text_htmlColor;       // #rrggbb
  std::int32_t sy_text_isItalic = 0;
  std::int32_t sy_text_isBold = 0;
  std::int32_t sy_text_weight = 0;
  std::int32_t sy_text_isUnderlineDecoration = 0;
  std::int32_t sy_text_isLineThroughDecoration = 0;
  std::int32_t sy_text_background_color = 0;  // 0x00BBGGRR, -1 = no box
  std::int32_t sy_text_border_size = 0;
  std::int32_t sy_text_border_corner_radius = 0;
  std::uint32_t sy_text_border_color = 0;  // 0x00BBGGRR
  std::int32_t sy_text_padding_left_right = 0;
  std::int32_t sy_text_padding_top_bottom = 0;
  std::int32_t bTextSizeScale = 0;
  std::int32_t nTextSizeScaleValue = 0;
  std::int32_t nTextSizeScaleType = 0;  // 0 = of the height, 1 = of the width
  std::int32_t bTiled = 0;
  std::int32_t nTiledSpacing = 0;

  // Picture watermark
  std::int32_t bSYImage = 0;
  std::string sy_image;
  std::int32_t sy_image_w_direction = 0;
  std::int32_t sy_image_w_value = 0;
  std::int32_t sy_image_h_direction = 0;
  std::int32_t sy_image_h_value = 0;
  std::int32_t sy_image_rotate = 0;
  std::int32_t sy_image_opacity = 0;
  std::int32_t sy_image_tiled = 0;
  std::int32_t sy_image_tiled_spacing = 0;

  // Border and tone
  std::int32_t bBorder = 0;
  BorderLocation border_location = BorderLocation::kOutside;
  std::int32_t border_size = 0;
  std::int32_t border_color = 0;  // 0x00BBGGRR
  std::int32_t border_padding = 0;
  std::int32_t bLight = 0;
  std::int32_t lightValue = 0;
  std::int32_t bContrast = 0;
  std::int32_t contrastValue = 0;
  std::int32_t bClearly = 0;
  std::int32_t clearlyValue = 0;
  std::int32_t bSaturation = 0;
  std::int32_t saturationValue = 0;
  std::int32_t bConvertBlackToWhite = 0;

  // Metadata, colour space and resolution
  std::int32_t bRemovePhotoOtherInfo = 0;
  std::int32_t bColorspaceTo = 0;
  ColorspaceChoice fromColorspace = ColorspaceChoice::kCmyk;
  ColorspaceChoice toColorspace = ColorspaceChoice::kCmyk;
  std::int32_t bUseSRGB_ICC = 0;
  std::int32_t bDpi = 0;
  std::int32_t dpi = 0;  // 1 to 65535; -1 = not set
  std::int32_t bDpiResample = 0;

  // Output: written to a recipe only when it is not JPG, so older readers never see it
  OutputFormat outputFormat = OutputFormat::kJpg;

  bool operator==(const ProcessingOptions&) const = default;
};

// The record a fresh installation ends up with: the default recipe read over the reader's presets.
ProcessingOptions InitialProcessingOptions();

}  // namespace brindle
