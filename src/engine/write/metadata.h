#pragma once
// Removal of what a photo says about itself beyond its pixels: Exif (camera, date taken), IPTC,
// XMP (extended XMP too), Photoshop's resource block and every other kept block, the comment and
// the file dates. The colour profile stays: without it the colours
// would change.

#include "platform/magick/magick_wand.h"
#include "recipe/processing_options.h"

namespace brindle {

// Removes the photo's metadata when bRemovePhotoOtherInfo is on.
void RemovePhotoMetadata(MagickWand* wand, const ProcessingOptions& options);

}  // namespace brindle
