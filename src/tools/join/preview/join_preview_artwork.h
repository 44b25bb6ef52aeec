#pragma once
// The picture the join preview shows while "关闭预览" is on.

#include "platform/magick/magick_wand.h"

namespace brindle {

// The placeholder: 279 × 75 pixels, the black text "当前已设置关闭预览" on white, kept in the
// program as a JPEG. A 1 × 1 white picture when it cannot be decoded; null when ImageMagick refuses
// even that.
MagickWandPtr MakeJoinPlaceholder();

}  // namespace brindle
