#pragma once
// The PNG tool's resize choice: its two lists, as stored, and its number box.

namespace brindle {

// The resize kind list: "图片缩小", "图片放大", "图片缩放".
enum class PngZoomKind { kShrink = 0, kEnlarge = 1, kScale = 2 };
// The side list: "图片宽：", "图片高：".
enum class PngZoomSide { kWidth = 0, kHeight = 1 };

struct PngZoom {
  PngZoomKind kind = PngZoomKind::kShrink;
  PngZoomSide side = PngZoomSide::kWidth;
  int length = 0;                // the number box, at least 1
  bool keep_proportions = true;  // the other side follows
};

}  // namespace brindle
