#pragma once
// The crop tool's geometry step: which rectangle of a picture is kept (a fixed size, a percentage,
// an aspect ratio or amounts trimmed from the sides, placed by one of five alignments), and the
// picture read, cut to that rectangle and given its resolution in dots per inch.

#include <filesystem>
#include <optional>
#include <string>

#include "platform/magick/magick_wand.h"
#include "tools/common/tool_settings.h"

namespace brindle {

// The crop modes, in the order of the mode list ("crop_mode").
enum CropMode : int {
  kCropFixedSize = 0,   // "裁剪固定尺寸"
  kCropPercentage = 1,  // "裁剪百分比"
  kCropRatio = 2,       // "裁剪宽高比"
  kCropTrimSides = 3,   // "裁掉四周"
};

// The alignments, in the order of the alignment list ("crop_align").
enum CropAlign : int {
  kCropCentre = 0,       // "裁剪正中间"
  kCropTopLeft = 1,      // "裁剪左上角"
  kCropBottomLeft = 2,   // "裁剪左下角"
  kCropTopRight = 3,     // "裁剪右上角"
  kCropBottomRight = 4,  // "裁剪右下角"
};

// The kept rectangle: its size (at least 1 × 1) and its left and top offsets in the picture.
struct CropGeometry {
  long long width = 1;
  long long height = 1;
  long long left = 0;
  long long top = 0;

  bool operator==(const CropGeometry&) const = default;
};

// The rectangle the settings keep of a picture of width × height pixels.
CropGeometry ComputeCropGeometry(const CropToolSettings& settings, long long width,
                                 long long height);

// The picture at path as the geometry step reads it: turned upright, its first image only. A
// picture that cannot be read ("无法识别的图片:") or an animated GIF ("不支持裁剪动态gif图片:")
// adds its line to the InfoLog and gives null.
MagickWandPtr ReadCropSource(const std::filesystem::path& path);

// The rest of the geometry step on a picture ReadCropSource gave (null gives null).
MagickWandPtr CropSource(MagickWandPtr picture, const CropToolSettings& settings,
                         CropGeometry* geometry = nullptr,
                         std::optional<std::string>* refusal = nullptr);

// The geometry step: reads the picture at path and hands back the kept rectangle as a picture of
// its own, with the rectangle in geometry when asked. A picture that cannot be read
// ("无法识别的图片:") or an animated GIF ("不支持裁剪动态gif图片:") adds its line to the InfoLog
// and gives null. A cut ImageMagick refuses gives null too, with its reason in refusal when asked.
MagickWandPtr CropPicture(const std::filesystem::path& path, const CropToolSettings& settings,
                          CropGeometry* geometry = nullptr,
                          std::optional<std::string>* refusal = nullptr);

}  // namespace brindle
