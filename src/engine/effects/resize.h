#pragma once
// Resizing a picture by the recipe: to a length in pixels on one side (only shrinking, only
// enlarging, or both), or to a percentage of its size. The size arithmetic is kept apart from
// ImageMagick so that the preview, the batch and the PNG tool compute exactly the same sizes.

#include <optional>
#include <string_view>

#include "platform/magick/magick_wand.h"
#include "recipe/processing_options.h"

namespace brindle {

struct PictureSize {
  int width = 0;
  int height = 0;

  bool operator==(const PictureSize&) const = default;
};

// The size a picture of the current size gets in pixel mode (sizeValue on the side chosen by
// sizeType, filtered by zoomType), or nullopt when it stays as it is.
std::optional<PictureSize> ResizeByPixels(const ProcessingOptions& options, PictureSize current);

// The size in percent mode (fSizeValue). zoomType does not count here, and a size is always
// returned, at 100 % the current size, so the picture is always resampled.
std::optional<PictureSize> ResizeByPercent(const ProcessingOptions& options, PictureSize current);

// ResizeByPixels or ResizeByPercent, as zoomUnit says.
std::optional<PictureSize> ResizeTarget(const ProcessingOptions& options, PictureSize current);

// Resizes the wand's current picture to exactly `size` with the program's resampling (Lanczos,
// blur 1.0). false when ImageMagick refuses (its reason stays on the wand).
bool ResizePicture(MagickWand* wand, PictureSize size);

// Resizes the wand's current picture to ResizeTarget of its size. Whether to resize at all (bSize)
// is the caller's decision. false when ImageMagick refuses (its reason stays on the wand).
bool ApplyResize(MagickWand* wand, const ProcessingOptions& options);

// The text beside the keep-aspect switch, naming the side that follows and the kind of change,
// e.g. "高度等比例缩小" when the width is set and pictures are only shrunk.
std::string_view KeepAspectLabel(ZoomType zoom_type, SizeType size_type);

}  // namespace brindle
