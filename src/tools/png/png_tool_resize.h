#pragma once
// The PNG tool's resize rule: one side to a length in pixels, only shrinking, only enlarging or
// both, the other side following in proportion (rounded half up) or kept.

#include <optional>
#include <string_view>

#include "engine/effects/resize.h"
#include "platform/magick/magick_wand.h"
#include "tools/png/png_zoom_choice.h"

namespace brindle {

// The new size of a picture of the current size, or nullopt when it stays as it is.
std::optional<PictureSize> PngZoomTarget(const PngZoom& zoom, PictureSize current);

// Resizes the wand's current picture to PngZoomTarget (Lanczos, blur 1.0). false when ImageMagick
// refuses; the picture is then as it was and the reason stays on the wand.
bool ApplyPngZoom(MagickWand* wand, const PngZoom& zoom);

// The keep-proportions box's label, e.g. "高度等比例缩小" for shrinking by the width.
std::string_view KeepProportionsLabel(PngZoomKind kind, PngZoomSide side);

}  // namespace brindle
