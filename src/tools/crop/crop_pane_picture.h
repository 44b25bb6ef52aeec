#pragma once
// How the crop tool's preview pane turns a picture into what it displays: a CMYK picture becomes
// sRGB, and the picture goes through one JPEG encoding at quality 91, whose bytes are decoded for
// the display. brindle-cli writes the same pixels, so it shows exactly what the window shows.

#include <optional>
#include <string>

#include "engine/read/jpeg_decode.h"
#include "platform/magick/magick_wand.h"

namespace brindle {

inline constexpr std::size_t kCropPaneJpegQuality = 91;

// The JPEG bytes the pane decodes for the wand's picture (which is changed on the way). false,
// with ImageMagick's reason in error, when the picture cannot be encoded.
bool EncodeCropPanePicture(MagickWand* wand, std::string& jpeg, std::string* error = nullptr);

// What the pane shows of the wand's picture (which is changed on the way): its JPEG decoded, with
// the JPEG's layout. None when it cannot be encoded or decoded.
std::optional<DecodedJpeg> ShowCropPanePicture(MagickWand* wand);

}  // namespace brindle
