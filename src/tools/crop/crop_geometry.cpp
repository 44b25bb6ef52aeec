#include "tools/crop/crop_geometry.h"

#include <algorithm>

#include "base/info_log.h"
#include "engine/effects/resolution.h"
#include "engine/read/picture_read.h"
#include "tools/common/tool_picture_steps.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

// A box's number, with an empty box counting as 0.
long long BoxNumber(const std::optional<int>& box) { return box.value_or(0); }

// Fixed size: the box's number when it is above 0, else the whole side.
long long FixedSide(const std::optional<int>& box, long long whole) {
  return box && *box > 0 ? *box : whole;
}

// Percentage: 1 to 100 per cent of the side (at least one pixel); anything else the whole side.
long long PercentSide(const std::optional<int>& box, long long whole) {
  if (!box || *box < 1 || *box > 100) return whole;
  return std::max(1LL, *box * whole / 100);
}

// The whole part of 100 × a / b, as the ratio mode compares them.
long long RatioHundredths(double a, double b) { return static_cast<long long>(a / b * 100); }

void RatioSize(const CropToolSettings& settings, long long width, long long height,
               CropGeometry& geometry) {
  const long long rw = BoxNumber(settings.ratio_width);
  const long long rh = BoxNumber(settings.ratio_height);
  geometry.width = width;
  geometry.height = height;
  if (rw <= 0 || rh <= 0) return;
  const double wanted = static_cast<double>(rw) / static_cast<double>(rh);
  const double own = static_cast<double>(width) / static_cast<double>(height);
  if (RatioHundredths(rw, rh) == RatioHundredths(width, height)) return;
  if (wanted <= own) {
    geometry.width = rw * height / rh;
  } else {
    geometry.height = rh * width / rw;
  }
  geometry.width = std::max(1LL, geometry.width);
  geometry.height = std::max(1LL, geometry.height);
}

// Trimming one axis: the amounts cut from its two ends, in pixels or per cent of the side. What
// would cut the whole side away leaves one pixel at the start.
void TrimAxis(long long first, long long second, long long whole, bool in_percent,
              long long& offset, long long& length) {
  const long long limit = in_percent ? 100 : whole;
  if (first + second >= limit) {
    offset = 0;
    length = 1;
  } else if (in_percent) {
    offset = first * whole / 100;
    length = whole - (first + second) * whole / 100;
  } else {
    offset = first;
    length = whole - first - second;
  }
}

void TrimSides(const CropToolSettings& s, long long width, long long height,
               CropGeometry& geometry) {
  const bool percent = s.side_in_percent;
  const auto& left = percent ? s.side_percent_left : s.side_fixed_left;
  const auto& right = percent ? s.side_percent_right : s.side_fixed_right;
  const auto& top = percent ? s.side_percent_top : s.side_fixed_top;
  const auto& bottom = percent ? s.side_percent_bottom : s.side_fixed_bottom;
  TrimAxis(BoxNumber(left), BoxNumber(right), width, percent, geometry.left, geometry.width);
  TrimAxis(BoxNumber(top), BoxNumber(bottom), height, percent, geometry.top, geometry.height);
}

// Places a side of the rectangle by the alignment: at the start, the end or the middle.
long long AlignedOffset(int align, bool horizontal, long long whole, long long length) {
  const long long room = whole - length;
  switch (align) {
    case kCropTopLeft:
      return 0;
    case kCropBottomLeft:
      return horizontal ? 0 : room;
    case kCropTopRight:
      return horizontal ? room : 0;
    case kCropBottomRight:
      return room;
    default:
      return room / 2;
  }
}

MagickWandPtr Refused(MagickWand* picture, std::optional<std::string>* refusal) {
  std::string reason = TakeMagickError(picture);
  if (refusal) *refusal = std::move(reason);
  return nullptr;
}

}  // namespace

CropGeometry ComputeCropGeometry(const CropToolSettings& settings, long long width,
                                 long long height) {
  CropGeometry geometry;
  switch (settings.mode) {
    case kCropTrimSides:
      TrimSides(settings, width, height, geometry);
      return geometry;
    case kCropPercentage:
      geometry.width = PercentSide(settings.percent_width, width);
      geometry.height = PercentSide(settings.percent_height, height);
      break;
    case kCropRatio:
      RatioSize(settings, width, height, geometry);
      break;
    default:
      geometry.width = FixedSide(settings.fixed_width, width);
      geometry.height = FixedSide(settings.fixed_height, height);
      break;
  }
  // A rectangle larger than the picture keeps the whole side, which every alignment places at 0.
  geometry.width = std::min(geometry.width, width);
  geometry.height = std::min(geometry.height, height);
  geometry.left = AlignedOffset(settings.align, true, width, geometry.width);
  geometry.top = AlignedOffset(settings.align, false, height, geometry.height);
  return geometry;
}

MagickWandPtr ReadCropSource(const fs::path& path) {
  MagickWandPtr wand = ReadPicture(path);
  if (!wand) {
    LogInfo(FormatMessage("无法识别的图片:\r\n%s", path.c_str()));
    return nullptr;
  }
  MagickWand* picture = wand.get();
  if (PictureFormat(picture) == "GIF" && MagickGetNumberImages(picture) > 1) {
    LogInfo(FormatMessage("不支持裁剪动态gif图片:\r\n%s", path.c_str()));
    return nullptr;
  }
  // A PSD or TIFF holds more than one image; the first is the picture itself, and the only one
  // kept.
  UseFirstImage(picture);
  if (MagickGetNumberImages(picture) > 1) {
    wand = MagickWandPtr(MagickGetImage(picture));
    if (!wand) LogInfo(FormatMessage("无法识别的图片:\r\n%s", path.c_str()));
  }
  return wand;
}

MagickWandPtr CropSource(MagickWandPtr wand, const CropToolSettings& settings,
                         CropGeometry* geometry, std::optional<std::string>* refusal) {
  if (!wand) return nullptr;
  MagickWand* picture = wand.get();
  const std::string format = PictureFormat(picture);
  const PictureResolution resolution = ReadPictureResolution(picture);
  const long long width = static_cast<long long>(MagickGetImageWidth(picture));
  const long long height = static_cast<long long>(MagickGetImageHeight(picture));
  const CropGeometry kept = ComputeCropGeometry(settings, width, height);

  MagickSetImagePage(picture, width, height, 0, 0);
  if (MagickCropImage(picture, kept.width, kept.height, kept.left, kept.top) == MagickFalse) {
    return Refused(picture, refusal);
  }
  MagickSetImagePage(picture, kept.width, kept.height, 0, 0);
  if (format == "BMP") {
    MagickSetImageAlphaChannel(picture, DeactivateAlphaChannel);
    PixelWandPtr white = MakePixelWand("#ffffff");
    MagickSetImageBackgroundColor(picture, white.get());
    if (MagickExtentImage(picture, kept.width, kept.height, 0, 0) == MagickFalse) {
      return Refused(picture, refusal);
    }
  }
  NormaliseResolution(picture, resolution);

  if (geometry) *geometry = kept;
  return wand;
}

MagickWandPtr CropPicture(const fs::path& path, const CropToolSettings& settings,
                          CropGeometry* geometry, std::optional<std::string>* refusal) {
  return CropSource(ReadCropSource(path), settings, geometry, refusal);
}

}  // namespace brindle
