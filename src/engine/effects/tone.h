#pragma once
// Tone adjustments of the main batch (brightness, contrast, sharpness, saturation) and the
// black-and-white conversion.

#include "platform/magick/magick_wand.h"
#include "recipe/processing_options.h"

namespace brindle {

// Brightness, contrast, sharpness and saturation, in that order, each when its switch is on and its
// value is not 0. Values run from -100 to 100: a negative sharpness blurs, saturation -100 removes
// all colour and +100 doubles it. false when ImageMagick refuses a step; its reason stays on the
// wand.
bool ApplyToneAdjustments(MagickWand* wand, const ProcessingOptions& options);

// Turns the picture grey when bConvertBlackToWhite is on. false when ImageMagick refuses; its
// reason stays on the wand.
bool ApplyBlackAndWhite(MagickWand* wand, const ProcessingOptions& options);

}  // namespace brindle
