#include "tools/common/output_options.h"

#include <algorithm>

#include "base/info_log.h"

namespace brindle {

std::string_view OutputFormatText(ToolOutputFormat format) {
  switch (format) {
    case ToolOutputFormat::kPng:
      return "PNG";
    case ToolOutputFormat::kWebp:
      return "WEBP";
    case ToolOutputFormat::kAvif:
      return "AVIF";
    default:
      return "JPG";
  }
}

std::string QualityLabel(int quality) {
  const char* format = quality >= 90 ? "%d(高)" : quality >= 60 ? "%d(中)" : "%d(低)";
  return FormatMessage(format, quality);
}

ToolEncoding ToolEncodingOf(ToolOutputFormat format, int quality, bool transparent, bool png8,
                            int png8_color_count) {
  ToolEncoding encoding;
  encoding.format = format;
  if (format == ToolOutputFormat::kPng) {
    encoding.extension = ".png";
    encoding.keep_transparency = transparent;
    encoding.png8 = png8;
    encoding.color_count = png8 ? png8_color_count : kDefaultPng8ColorCount;
  } else {
    encoding.extension = format == ToolOutputFormat::kWebp   ? ".webp"
                         : format == ToolOutputFormat::kAvif ? ".avif"
                                                             : ".jpg";
    encoding.quality = quality;
  }
  return encoding;
}

int Png8ColorCountEntry(long long stored) {
  bool listed =
      std::find(kPng8ColorCounts.begin(), kPng8ColorCounts.end(), stored) != kPng8ColorCounts.end();
  return listed ? static_cast<int>(stored) : kDefaultPng8ColorCount;
}

}  // namespace brindle
