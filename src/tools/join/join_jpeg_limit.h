#pragma once
// JPEG cannot hold a side longer than 65500 pixels. A joined picture over that limit is refused
// for JPEG output, the width tested first, with texts that suggest PNG instead. PNG output has
// larger limits of its own, refused with the real size and the limits.

#include <filesystem>
#include <string>

#include "run/batch/run_message.h"

namespace brindle {

inline constexpr long long kMaxJpegSide = 65500;

enum class JpegSideExcess { kNone, kWidth, kHeight };

struct JpegSideCheck {
  JpegSideExcess excess = JpegSideExcess::kNone;
  long long length = 0;  // the side over the limit
};

// The width is tested first, then the height.
JpegSideCheck CheckJpegSides(long long width, long long height);

// The run's InfoLog line for a group in folder mode ("拼接图片失败: %s\r\n拼接后的图片宽度: ...").
std::string GroupJpegRefusal(const std::filesystem::path& group, const JpegSideCheck& check);

// The run's message box in list mode ("拼接图片失败: \n\n拼接后的图片宽度: ...", caption "错误").
RunMessage ListJpegRefusal(const JpegSideCheck& check);

// The preview's message box ("预览失败:\n\n拼接后的图片宽度: ...", caption "错误").
RunMessage PreviewJpegRefusal(const JpegSideCheck& check);

// The largest joined PNG: libpng writes sides up to 1000000 pixels, and the picture is held as
// 16-bit RGBA in ImageMagick's pixel cache, which the policy's disk limit (4 GiB) bounds to
// 536870912 pixels. 1000 × 200000 is well within both.
inline constexpr long long kMaxPngSide = 1000000;
inline constexpr long long kMaxPngPixels = 536870912;

// Whether a joined PNG of this size cannot be written.
bool PngTooLarge(long long width, long long height);

// The run's InfoLog line for a group in folder mode.
std::string GroupPngRefusal(const std::filesystem::path& group, long long width, long long height);

// The run's message box in list mode (caption "错误").
RunMessage ListPngRefusal(long long width, long long height);

// The preview's message box (caption "错误").
RunMessage PreviewPngRefusal(long long width, long long height);

}  // namespace brindle
