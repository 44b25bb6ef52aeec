#pragma once
// Whether a picture can be used as it is given: readable, and not a moving picture (an animated GIF
// or WebP, a HEIF sequence): only still pictures are processed or laid over others.

#include <filesystem>

#include "platform/magick/magick_wand.h"

namespace brindle {

// Reads the file: true when it decodes and is a still picture.
bool IsSupportedPicture(const std::filesystem::path& path);

}  // namespace brindle
