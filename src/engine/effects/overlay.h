#pragma once
// Placing an overlay (the text block, the watermark picture) on a picture: centred or at a margin
// from an edge, once or tiled over the whole picture; and colour values as "#rrggbb" texts.

#include <cstdint>
#include <string>

#include "platform/magick/magick_wand.h"

namespace brindle {

// The placement index of the recipe: 0 centre, 1 from the left (top) edge, 2 from the right
// (bottom).
enum class PlacementType { kCentre = 0, kFromStart = 1, kFromEnd = 2 };

// Any index other than 1 or 2 is taken as centred.
PlacementType PlacementFromIndex(int index);

// 0x00BBGGRR as "#rrggbb" (lower-case hexadecimal).
std::string ColorToHtml(std::uint32_t bgr);

// Turns a grey picture into sRGB before something coloured is drawn on it. The reader's "grayscale"
// type is cleared too: it outlives the transform and would make the JPEG writer drop the colours.
// false when ImageMagick refuses the transform; its reason stays on the picture.
bool ConvertGreyToSrgb(MagickWand* picture);

// Overlays block onto the picture's current image with OverCompositeOp. Nothing happens without a
// block. When tiled, the lattice with steps (block width + spacing, block height + spacing) is
// anchored at the single placement's position and covers the whole picture. false when ImageMagick
// refuses a composite; its reason stays on the picture.
bool PlaceOverlay(MagickWand* picture, MagickWand* block, PlacementType horizontal,
                  int horizontal_margin, PlacementType vertical, int vertical_margin, bool tiled,
                  int spacing);

}  // namespace brindle
