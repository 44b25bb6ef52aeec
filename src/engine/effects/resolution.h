#pragma once
// The picture's resolution: set to the recipe's dots per inch (relabelled, or resampled to the new
// resolution), or, when the recipe sets none, the stored resolution rewritten in dots per inch.

#include "platform/magick/magick_wand.h"
#include "recipe/processing_options.h"

namespace brindle {

// The resolution as read, before any step changed the picture.
struct PictureResolution {
  ResolutionType units = UndefinedResolution;
  double x = 0;
  double y = 0;
};

PictureResolution ReadPictureResolution(MagickWand* wand);

// The resolution as read, written again in dots per inch: per centimetre becomes per inch
// (truncated; below 1 gives 72), a picture without unit and resolution gets 72 × 72 per inch, and
// one with a resolution but no unit keeps it as it is.
void NormaliseResolution(MagickWand* wand, const PictureResolution& source);

// With bDpi on and a dpi value, the picture gets that many dots per inch; with bDpiResample its
// pixels are resampled from its own resolution when the horizontal value differs. With bDpi off, a
// resolution per centimetre becomes dots per inch (truncated) and a picture without any resolution
// gets 72 dots per inch; the pixels are untouched.
void ApplyResolution(MagickWand* wand, const ProcessingOptions& options,
                     const PictureResolution& source);

}  // namespace brindle
