#include "engine/effects/resize.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace brindle {
namespace {

// Neither side of a percent result goes beyond this.
constexpr int kMaxPercentSide = 9999;

enum class Side { kWidth, kHeight };

// Round half up on a positive value. Anything not positive (or not a number) gives 0, which the
// callers raise to 1; values beyond int are held at INT_MAX, a size ImageMagick simply refuses.
int RoundHalfUp(long double value) {
  if (!(value > 0)) return 0;
  if (value >= static_cast<long double>(INT_MAX)) return INT_MAX;
  long double whole = std::floor(value);
  int result = static_cast<int>(whole);
  if (value - whole >= 0.5L) ++result;
  return result;
}

// round(length × numerator / denominator), multiplied first as the sizes are integers.
int ScaledLength(long double length, int numerator, int denominator) {
  return RoundHalfUp(length * numerator / denominator);
}

int AtLeastOne(int length) { return std::max(length, 1); }

std::optional<Side> SetSide(SizeType size_type, PictureSize current) {
  bool landscape = current.width > current.height;
  switch (size_type) {
    case SizeType::kWidth:
      return Side::kWidth;
    case SizeType::kHeight:
      return Side::kHeight;
    case SizeType::kShorterSide:
      return landscape ? Side::kHeight : Side::kWidth;
    case SizeType::kLongerSide:
      return landscape ? Side::kWidth : Side::kHeight;
  }
  return std::nullopt;  // a value no recipe should hold: leave the picture alone
}

bool IsUsable(PictureSize size) { return size.width >= 1 && size.height >= 1; }

}  // namespace

std::optional<PictureSize> ResizeByPixels(const ProcessingOptions& options, PictureSize current) {
  const int target = options.sizeValue;
  std::optional<Side> side = SetSide(options.sizeType, current);
  // A length below one pixel cannot be resized to; such a value only comes from a damaged recipe.
  if (!side || !IsUsable(current) || target < 1) return std::nullopt;

  // Work on (set side, other side) and swap back at the end.
  const bool height_set = *side == Side::kHeight;
  const int set_length = height_set ? current.height : current.width;
  const int other_length = height_set ? current.width : current.height;

  if (target == set_length) return std::nullopt;
  const bool shrinking = target < set_length;
  if (shrinking && options.zoomType == ZoomType::kEnlarge) return std::nullopt;
  if (!shrinking && options.zoomType == ZoomType::kShrink) return std::nullopt;

  int other =
      options.bZoomSameScale ? ScaledLength(target, other_length, set_length) : other_length;
  other = AtLeastOne(other);
  return height_set ? PictureSize{other, target} : PictureSize{target, other};
}

std::optional<PictureSize> ResizeByPercent(const ProcessingOptions& options, PictureSize current) {
  std::optional<Side> side = SetSide(options.sizeType, current);
  if (!side || !IsUsable(current)) return std::nullopt;

  const long double percent = options.fSizeValue;
  const int width = RoundHalfUp(current.width * percent / 100);
  const int height = RoundHalfUp(current.height * percent / 100);

  if (!options.bZoomSameScale) {
    // Only the set side changes; the other keeps its length.
    if (*side == Side::kHeight)
      return PictureSize{current.width, std::clamp(height, 1, kMaxPercentSide)};
    return PictureSize{std::clamp(width, 1, kMaxPercentSide), current.height};
  }

  // Keeping the aspect, both sides scale by the same percentage, so which side is "set" does not
  // matter. When either side would pass the limit, the longer side is put at the limit and the
  // other follows in proportion; limiting one side alone would distort the picture.
  if (width > kMaxPercentSide || height > kMaxPercentSide) {
    if (current.width >= current.height) {
      return PictureSize{kMaxPercentSide,
                         AtLeastOne(ScaledLength(kMaxPercentSide, current.height, current.width))};
    }
    return PictureSize{AtLeastOne(ScaledLength(kMaxPercentSide, current.width, current.height)),
                       kMaxPercentSide};
  }
  return PictureSize{AtLeastOne(width), AtLeastOne(height)};
}

std::optional<PictureSize> ResizeTarget(const ProcessingOptions& options, PictureSize current) {
  if (options.zoomUnit == ZoomUnit::kPercent) return ResizeByPercent(options, current);
  return ResizeByPixels(options, current);
}

bool ResizePicture(MagickWand* wand, PictureSize size) {
  return MagickResizeImage(wand, static_cast<size_t>(size.width), static_cast<size_t>(size.height),
                           LanczosFilter, 1.0) != MagickFalse;
}

bool ApplyResize(MagickWand* wand, const ProcessingOptions& options) {
  auto to_int = [](size_t length) {
    return static_cast<int>(std::min<size_t>(length, static_cast<size_t>(INT_MAX)));
  };
  PictureSize current{to_int(MagickGetImageWidth(wand)), to_int(MagickGetImageHeight(wand))};
  std::optional<PictureSize> target = ResizeTarget(options, current);
  return !target || ResizePicture(wand, *target);
}

std::string_view KeepAspectLabel(ZoomType zoom_type, SizeType size_type) {
  // Rows: shrink, enlarge, scale. Columns: width set (the height follows), height set, either side.
  static constexpr std::string_view kLabels[3][3] = {
      {"高度等比例缩小", "宽度等比例缩小", "等比例缩小"},
      {"高度等比例放大", "宽度等比例放大", "等比例放大"},
      {"高度等比例缩放", "宽度等比例缩放", "等比例缩放"},
  };
  int row = 2;  // a zoom type no recipe should hold resizes both ways, so it reads as scale
  if (zoom_type == ZoomType::kShrink) row = 0;
  if (zoom_type == ZoomType::kEnlarge) row = 1;
  int column = 2;
  if (size_type == SizeType::kWidth) column = 0;
  if (size_type == SizeType::kHeight) column = 1;
  return kLabels[row][column];
}

}  // namespace brindle
