#include "tools/output_options.h"

#include <algorithm>

#include "engine/info_log.h"

namespace brindle {

std::string_view OutputFormatText(ToolOutputFormat format) {
  return format == ToolOutputFormat::kPng ? "PNG" : "JPG";
}

std::string QualityLabel(int quality) {
  const char* format = quality >= 90 ? "%d(高)" : quality >= 60 ? "%d(中)" : "%d(低)";
  return FormatMessage(format, quality);
}

int Png8ColorCountEntry(long long stored) {
  bool listed =
      std::find(kPng8ColorCounts.begin(), kPng8ColorCounts.end(), stored) != kPng8ColorCounts.end();
  return listed ? static_cast<int>(stored) : kDefaultPng8ColorCount;
}

}  // namespace brindle
