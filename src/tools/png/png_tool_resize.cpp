#include "tools/png/png_tool_resize.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace brindle {
namespace {

// length × numerator ÷ denominator in floating point, truncated, and one more when the dropped
// fraction is a half or more.
int ProportionalLength(int length, int numerator, int denominator) {
  double exact = static_cast<double>(length) * numerator / denominator;
  if (!(exact > 0)) return 0;
  if (exact >= static_cast<double>(INT_MAX)) return INT_MAX;
  double whole = std::floor(exact);
  int result = static_cast<int>(whole);
  if (exact - whole >= 0.5) ++result;
  return result;
}

}  // namespace

std::optional<PictureSize> PngZoomTarget(const PngZoom& zoom, PictureSize current) {
  if (zoom.length < 1 || current.width < 1 || current.height < 1) return std::nullopt;
  const bool by_height = zoom.side == PngZoomSide::kHeight;
  const int set = by_height ? current.height : current.width;
  const int other = by_height ? current.width : current.height;
  const int v = zoom.length;

  int new_other = other;
  if (v < set && (zoom.kind == PngZoomKind::kShrink || zoom.kind == PngZoomKind::kScale)) {
    if (zoom.keep_proportions) new_other = std::max(ProportionalLength(v, other, set), 1);
  } else if (v > set && (zoom.kind == PngZoomKind::kEnlarge || zoom.kind == PngZoomKind::kScale)) {
    if (zoom.keep_proportions) new_other = ProportionalLength(v, other, set);
  } else {
    return std::nullopt;
  }
  return by_height ? PictureSize{new_other, v} : PictureSize{v, new_other};
}

bool ApplyPngZoom(MagickWand* wand, const PngZoom& zoom) {
  PictureSize current{static_cast<int>(MagickGetImageWidth(wand)),
                      static_cast<int>(MagickGetImageHeight(wand))};
  std::optional<PictureSize> target = PngZoomTarget(zoom, current);
  return !target || ResizePicture(wand, *target);
}

std::string_view KeepProportionsLabel(PngZoomKind kind, PngZoomSide side) {
  const bool by_width = side == PngZoomSide::kWidth;
  switch (kind) {
    case PngZoomKind::kShrink:
      return by_width ? "高度等比例缩小" : "宽度等比例缩小";
    case PngZoomKind::kEnlarge:
      return by_width ? "高度等比例放大" : "宽度等比例放大";
    case PngZoomKind::kScale:
      return by_width ? "高度等比例缩放" : "宽度等比例缩放";
  }
  return {};
}

}  // namespace brindle
