#pragma once
// Conversion between CMYK, RGB and sRGB with ICC profiles. CMYK pictures that go to RGB or sRGB are
// converted right after the resize, so the tone steps and watermarks work on RGB; every other
// conversion is the last step before saving.

#include "engine/write/icc_profiles.h"
#include "platform/magick/magick_wand.h"
#include "recipe/processing_options.h"

namespace brindle {

// True when the conversion is on and takes this CMYK picture to RGB or sRGB (for "CMYK" or "全部"
// sources): it then runs early and not again at the end.
bool ColourSpaceConversionRunsEarly(const ProcessingOptions& options, MagickWand* wand);

// Converts the picture from its colour space to the recipe's target when the recipe's source
// choice covers it; nothing when the conversion is off. A CMYK picture without a profile is first
// given the CMYK default profile (the assumed profile). Profiles that are not loaded are not
// applied; the colour-space transform still happens. false when ImageMagick refuses a profile or
// the transform; its reason stays on the wand.
bool ConvertColourSpace(MagickWand* wand, const ProcessingOptions& options,
                        const IccProfiles& profiles);

}  // namespace brindle
