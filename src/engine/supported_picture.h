#pragma once
// Whether a picture can be used as it is given: readable, and not an animated GIF (only still
// pictures are processed or laid over others).

#include <filesystem>

#include "platform/magick_wand.h"

namespace brindle {

// An animated GIF: the decoder reports the GIF format and two or more frames.
bool IsAnimatedGif(MagickWand* wand);

// Reads the file: true when it decodes and is not an animated GIF.
bool IsSupportedPicture(const std::filesystem::path& path);

}  // namespace brindle
