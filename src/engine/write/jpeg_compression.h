#pragma once
// How the JPEG that the main batch writes is compressed: the re-composition of JPEG sources before
// watermarks and borders are drawn on them, and the compression settings chosen from the recipe.

#include <cstddef>
#include <string>

#include "platform/magick/magick_wand.h"
#include "recipe/processing_options.h"

namespace brindle {

// Quality used wherever a picture is re-composed at or below 89, and for non-JPEG sources.
inline constexpr std::size_t kRecomposeQuality = 90;
inline constexpr std::size_t kNonJpegSourceQuality = 94;

// For JPEG sources only: re-composes the picture onto a fresh transparent canvas of its own size
// and colour space when text, picture watermark or border call for it, with the quality of the
// rules. source_quality is the quality stored in the source. wand may be replaced. false when
// ImageMagick refuses the canvas or the composition: the picture is then as it was and error, when
// given, holds ImageMagick's reason.
bool RecomposeJpegSource(MagickWandPtr& wand, const ProcessingOptions& options,
                         std::size_t source_quality, std::string* error);

// The compression switch, quality, "jpeg:extent" target size, and the fall-backs for JPEG and other
// sources; for a WebP or AVIF output only the quality (its target size is searched when encoding).
void ApplyCompressionSettings(MagickWand* wand, const ProcessingOptions& options,
                              bool source_is_jpeg);

}  // namespace brindle
