#pragma once
// The two pictures the join preview keeps: the placeholder shown while "关闭预览" is on, and the
// checkerboard that shows where a PNG stays transparent.

#include "platform/magick_wand.h"

namespace brindle {

// The placeholder: 279 × 75 pixels, the black text "当前已设置关闭预览" on white, kept in the
// program as a JPEG. A 1 × 1 white picture when it cannot be decoded.
MagickWandPtr MakeJoinPlaceholder();

// Lays the checkerboard (8 × 8 squares of white and #CCCCCC, white at the top-left) under the
// picture in place: where the picture is transparent the checkerboard shows, as if the picture were
// laid over a checkerboard canvas of its own size. The picture is left without transparency.
void LayOverCheckerboard(MagickWand* picture);

}  // namespace brindle
