#pragma once
// The picture watermark: a logo read once per run, turned and made partly transparent, then laid
// over every picture at a placement or tiled.

#include <optional>

#include "base/refusal.h"
#include "platform/magick/magick_wand.h"
#include "recipe/processing_options.h"

namespace brindle {

// Reads sy_image and prepares it for the run: turned by sy_image_rotate degrees on a transparent
// background, its opacity multiplied by sy_image_opacity percent. prepared is replaced (null with
// an empty path or on failure). A picture that cannot be read, or that ImageMagick refuses to turn
// or make transparent, refuses the run with "读取水印图片出错：\n\n%s".
std::optional<Refusal> PrepareWatermarkPicture(const ProcessingOptions& options,
                                               MagickWandPtr& prepared);

// Lays the prepared watermark over the picture when bSYImage is on and sy_image is set; a grey
// picture is made sRGB first so the logo keeps its colours. Nothing without a prepared watermark.
// false when ImageMagick refuses a step; its reason stays on wand.
bool ApplyPictureWatermark(MagickWand* wand, const ProcessingOptions& options,
                           MagickWand* prepared);

}  // namespace brindle
