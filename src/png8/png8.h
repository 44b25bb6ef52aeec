#pragma once
// PNG-8: a finished picture reduced to a palette of at most the wanted number of colours (with
// full dithering, alpha kept through the palette) and encoded as PNG. Every failure adds one line
// to the information log and returns false.

#include <filesystem>
#include <string>

#include "platform/magick/magick_wand.h"

namespace brindle {

// Encodes the wand's current picture as PNG-8 into bytes. A colour count outside 2 to 256 means
// 256. The wand's format is set to "PNG"; the picture is otherwise left as it was.
bool EncodePng8(MagickWand* wand, int color_count, std::string& bytes);

// EncodePng8, then writes the bytes to path through a temporary file that replaces path only when
// complete, so a failure leaves no file (or the old one) behind.
bool WritePng8File(MagickWand* wand, int color_count, const std::filesystem::path& path);

}  // namespace brindle
