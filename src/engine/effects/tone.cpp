#include "engine/effects/tone.h"

#include <cmath>

namespace brindle {
namespace {

// ImageMagick's Gaussian blur builds an even-sized kernel for radii such as 1.5, 2.7 or 5.5 and
// then reads past it: the result changes from call to call and is often garbage. The radius only
// bounds the kernel (sigma sets the blur), so it is taken to the nearest whole pixel, which gives
// exactly ImageMagick's result wherever that result is stable (0.7 and 1.2 blur as 1, 3.3 as 3).
double WholeBlurRadius(double radius) { return std::floor(radius + 0.5); }

}  // namespace

bool ApplyToneAdjustments(MagickWand* wand, const ProcessingOptions& options) {
  // Brightness and contrast are two calls: one combined call gives a different picture.
  if (options.bLight && options.lightValue != 0 &&
      MagickBrightnessContrastImage(wand, options.lightValue, 0) == MagickFalse) {
    return false;
  }
  if (options.bContrast && options.contrastValue != 0 &&
      MagickBrightnessContrastImage(wand, 0, options.contrastValue) == MagickFalse) {
    return false;
  }
  if (options.bClearly && options.clearlyValue > 0) {
    const double amount = options.clearlyValue / 10.0;
    if (MagickSharpenImage(wand, amount, amount) == MagickFalse) return false;
  } else if (options.bClearly && options.clearlyValue < 0) {
    const double amount = -options.clearlyValue / 10.0;
    if (MagickGaussianBlurImage(wand, WholeBlurRadius(amount), amount) == MagickFalse) return false;
  }
  return !options.bSaturation || options.saturationValue == 0 ||
         MagickModulateImage(wand, 100, 100.0 + options.saturationValue, 100) != MagickFalse;
}

bool ApplyBlackAndWhite(MagickWand* wand, const ProcessingOptions& options) {
  return !options.bConvertBlackToWhite ||
         MagickTransformImageColorspace(wand, GRAYColorspace) != MagickFalse;
}

}  // namespace brindle
