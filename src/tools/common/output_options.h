#pragma once
// The output options the tools share: the target format, the JPEG quality with its label, and the
// PNG-8 colour counts offered.

#include <array>
#include <string>
#include <string_view>

namespace brindle {

// WebP and AVIF are offered by the format conversion tool only.
enum class ToolOutputFormat { kJpg, kPng, kWebp, kAvif };

// The format list's entries: "JPG", "PNG", "WEBP", "AVIF".
std::string_view OutputFormatText(ToolOutputFormat format);

inline constexpr int kMinToolQuality = 10;
inline constexpr int kMaxToolQuality = 100;
inline constexpr int kDefaultToolQuality = 90;

// The quality slider's label: "%ld(高)" from 90, "%ld(中)" from 60 to 89, "%ld(低)" below 60.
std::string QualityLabel(int quality);

// The colour list's entries, in list order; the last one is selected at creation.
inline constexpr std::array<int, 8> kPng8ColorCounts = {2, 4, 8, 16, 32, 64, 128, 256};
inline constexpr int kDefaultPng8ColorCount = 256;

// What a tool's output choice means when a picture is written: the extension, the JPEG, WebP or
// AVIF quality, or for PNG the transparency and PNG-8 choices (the colour count only counts with
// PNG-8).
struct ToolEncoding {
  ToolOutputFormat format = ToolOutputFormat::kJpg;
  std::string extension;  // ".jpg", ".png", ".webp" or ".avif"
  int quality = kDefaultToolQuality;
  bool keep_transparency = false;  // PNG with "透明度" only
  bool png8 = false;               // PNG with "PNG-8" only
  int color_count = kDefaultPng8ColorCount;
};

ToolEncoding ToolEncodingOf(ToolOutputFormat format, int quality, bool transparent, bool png8,
                            int png8_color_count);

// The colour list's entry for a stored count: the entry whose number equals it, else 256.
int Png8ColorCountEntry(long long stored);

}  // namespace brindle
