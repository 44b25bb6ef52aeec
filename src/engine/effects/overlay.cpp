#include "engine/effects/overlay.h"

#include <cstdio>

namespace brindle {
namespace {

long long Position(PlacementType type, long long picture, long long block, long long margin) {
  switch (type) {
    case PlacementType::kFromStart:
      return margin;
    case PlacementType::kFromEnd:
      return picture - block - margin;
    case PlacementType::kCentre:
      break;
  }
  return (picture - block) / 2;
}

}  // namespace

PlacementType PlacementFromIndex(int index) {
  if (index == 1) return PlacementType::kFromStart;
  if (index == 2) return PlacementType::kFromEnd;
  return PlacementType::kCentre;
}

std::string ColorToHtml(std::uint32_t bgr) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", bgr & 0xFF, (bgr >> 8) & 0xFF,
                (bgr >> 16) & 0xFF);
  return text;
}

bool ConvertGreyToSrgb(MagickWand* picture) {
  if (MagickGetImageColorspace(picture) != GRAYColorspace) return true;
  if (MagickTransformImageColorspace(picture, sRGBColorspace) == MagickFalse) return false;
  MagickSetImageType(picture, UndefinedType);
  return true;
}

bool PlaceOverlay(MagickWand* picture, MagickWand* block, PlacementType horizontal,
                  int horizontal_margin, PlacementType vertical, int vertical_margin, bool tiled,
                  int spacing) {
  if (!picture || !block || MagickGetNumberImages(block) == 0) return true;
  const long long W = static_cast<long long>(MagickGetImageWidth(picture));
  const long long H = static_cast<long long>(MagickGetImageHeight(picture));
  const long long w = static_cast<long long>(MagickGetImageWidth(block));
  const long long h = static_cast<long long>(MagickGetImageHeight(block));
  if (w < 1 || h < 1) return true;
  const long long x = Position(horizontal, W, w, horizontal_margin);
  const long long y = Position(vertical, H, h, vertical_margin);
  if (!tiled) {
    return MagickCompositeImage(picture, block, OverCompositeOp, static_cast<ssize_t>(x),
                                static_cast<ssize_t>(y)) != MagickFalse;
  }
  const long long step_x = w + spacing;
  const long long step_y = h + spacing;
  if (step_x < 1 || step_y < 1) return true;
  long long x0 = x;
  while (x0 > -w) x0 -= step_x;
  long long x1 = x;
  while (x1 < W) x1 += step_x;
  long long y0 = y;
  while (y0 > -h) y0 -= step_y;
  long long y1 = y;
  while (y1 < H) y1 += step_y;
  for (long long row = y0; row <= y1; row += step_y) {
    for (long long column = x0; column <= x1; column += step_x) {
      // Tiles wholly outside the picture would change nothing.
      if (column >= W || row >= H || column + w <= 0 || row + h <= 0) continue;
      if (MagickCompositeImage(picture, block, OverCompositeOp, static_cast<ssize_t>(column),
                               static_cast<ssize_t>(row)) == MagickFalse) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace brindle
