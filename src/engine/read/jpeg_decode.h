#pragma once
// Decoding a baseline or progressive 8-bit JPEG straight to 8-bit samples with libjpeg-turbo.
// ImageMagick would decode the whole picture into its 16-bit pixels first; these are the fast ways
// in for a picture the recipe makes smaller and for what the crop pane shows.

#include <optional>
#include <string>

#include "engine/effects/lanczos_resample.h"

namespace brindle {

// Decoded at a smaller size: the decoder scales by eighths to the smallest size still at least
// least_width x least_height, and its rows go through a Lanczos-3 resampler to exactly width x
// height as they are decoded, so the decoded picture is never held whole. 3 samples (RGB) per
// pixel, or 1 for a grey JPEG, in the stored orientation. None for a JPEG in another colour model
// (CMYK, YCCK), with more than 8 bits per sample, or that the decoder finds damaged in any way:
// those are left to ImageMagick, which reads them its own way.
std::optional<Pixels8> DecodeJpegResized(const std::string& bytes, int least_width,
                                         int least_height, int width, int height);

// How a JPEG's blocks are laid out: two JPEGs with the same layout and quantisation encode an
// aligned area of pixels the same way.
struct JpegLayout {
  int components = 0;
  std::string sampling;  // the factors of each component, "2x2,1x1,1x1"
  int unit_width = 8;    // the minimum coded unit in pixels
  int unit_height = 8;
  bool operator==(const JpegLayout&) const = default;
};

struct DecodedJpeg {
  Pixels8 pixels;  // 3 samples (RGB) per pixel, grey JPEGs too
  JpegLayout layout;
};

// Decoded at its own size, as the usual JPEG decoders do it (the accurate integer transform,
// smooth chroma upsampling). None as for DecodeJpegResized.
std::optional<DecodedJpeg> DecodeJpegRgb(const std::string& bytes);

}  // namespace brindle
