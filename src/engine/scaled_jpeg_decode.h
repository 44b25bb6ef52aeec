#pragma once
// Decoding a baseline or progressive 8-bit JPEG straight to 8-bit samples at a smaller size: the
// decoder scales by eighths to the smallest size still at least least_width x least_height, and
// its rows go through a Lanczos-3 resampler to exactly width x height as they are decoded, so the
// decoded picture is never held whole. ImageMagick would decode the whole picture into 16-bit
// pixels first; this is the fast way in for pictures the recipe makes smaller.

#include <optional>
#include <string>

#include "engine/lanczos_resample.h"

namespace brindle {

// The picture at width x height: 3 samples (RGB) per pixel, or 1 for a grey JPEG, in the stored
// orientation. None for a JPEG in another colour model (CMYK, YCCK), with more than 8 bits per
// sample, or that the decoder finds damaged in any way: those are left to ImageMagick, which
// reads them its own way.
std::optional<Pixels8> DecodeJpegResized(const std::string& bytes, int least_width,
                                         int least_height, int width, int height);

}  // namespace brindle
