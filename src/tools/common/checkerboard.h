#pragma once
// The checkerboard the tool previews show where a picture stays transparent: 8 × 8 pixel squares of
// white and #CCCCCC, white at the top-left, in a 128 × 128 tile repeated over a 1024 × 1024
// texture that is made on first need and kept for the life of the process.

#include "platform/magick/magick_wand.h"

namespace brindle {

// Lays the checkerboard under the picture in place: where the picture is transparent the
// checkerboard shows, as if the picture were laid over a checkerboard canvas of its own size. The
// picture is left without transparency. false when ImageMagick refuses; a refused composite leaves
// its reason on the picture.
bool LayOverCheckerboard(MagickWand* picture);

}  // namespace brindle
