#include "tools/common/load_format_mask.h"

#include "tools/common/tool_target_name.h"

#include <algorithm>
#include <array>

namespace brindle {
namespace {

struct FormatExtension {
  LoadFormatBit bit;
  std::string_view extension;
};

constexpr std::array<FormatExtension, 15> kExtensions = {{
    {kLoadJpg, ".jpg"},
    {kLoadJpg, ".jpeg"},
    {kLoadPng, ".png"},
    {kLoadGif, ".gif"},
    {kLoadBmp, ".bmp"},
    {kLoadPsd, ".psd"},
    {kLoadTif, ".tif"},
    {kLoadTif, ".tiff"},
    {kLoadSvg, ".svg"},
    {kLoadWebp, ".webp"},
    {kLoadDng, ".dng"},
    {kLoadJfif, ".jfif"},
    {kLoadHeif, ".heic"},
    {kLoadHeif, ".heif"},
    {kLoadAvif, ".avif"},
}};

}  // namespace

bool MaskSelectsFile(LoadFormatMask mask, std::string_view file_name) {
  return std::any_of(kExtensions.begin(), kExtensions.end(), [&](const FormatExtension& format) {
    return (mask & format.bit) != 0 && EndsWithIgnoringCase(file_name, format.extension);
  });
}

}  // namespace brindle
