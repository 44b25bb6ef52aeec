#pragma once
// The border of the main batch: a coloured frame with an optional white padding frame inside it,
// added around the picture (it grows) or cut into it (it keeps its size).

#include "platform/magick/magick_wand.h"
#include "recipe/processing_options.h"

namespace brindle {

// How an inside border cuts the picture: the part kept, where it starts, and the frame widths that
// are then put around it.
struct InsideBorderCut {
  int width = 1;
  int height = 1;
  int x = 0;
  int y = 0;
  int border = 0;
  int padding = 0;
};

// The cut for a width x height picture, a border and a padding. With resizing on, the border and
// padding are narrowed when the frames would not fit along the shorter side, so the resized size
// stays exact.
InsideBorderCut PlanInsideBorder(int width, int height, int border, int padding, bool resizing);

// Adds the border when bBorder is on: the white padding frame (border_padding) and the coloured
// frame (border_size, border_color), outside the picture or cut into it by border_location. false
// when ImageMagick refuses a step; its reason stays on the wand.
bool ApplyBorder(MagickWand* wand, const ProcessingOptions& options);

}  // namespace brindle
