#pragma once
// Decoding a baseline or progressive 8-bit JPEG straight to 8-bit samples, scaled by the decoder
// to the smallest eighth of its size that is still at least a given size. ImageMagick would
// decode the whole picture into 16-bit pixels first; this is the fast way in for pictures the
// recipe makes smaller.

#include <optional>
#include <string>

#include "engine/lanczos_resample.h"

namespace brindle {

// The decoded picture: 3 samples (RGB) per pixel, or 1 for a grey JPEG, in the stored orientation.
// None for a JPEG in another colour model (CMYK, YCCK), with more than 8 bits per sample, or that
// the decoder finds damaged in any way: those are left to ImageMagick, which reads them its own
// way.
std::optional<Pixels8> DecodeScaledJpeg(const std::string& bytes, int least_width,
                                        int least_height);

}  // namespace brindle
