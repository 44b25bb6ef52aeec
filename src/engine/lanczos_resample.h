#pragma once
// A separable Lanczos-3 resampler for 8-bit pixels: the same filter as ImageMagick's Lanczos
// resize, computed in single precision on interleaved 8-bit samples, several times faster than
// resizing ImageMagick's 16-bit pixels and without their memory.

#include <cstdint>
#include <vector>

namespace brindle {

struct Pixels8 {
  int width = 0;
  int height = 0;
  int channels = 0;                   // samples per pixel, interleaved
  std::vector<std::uint8_t> samples;  // rows top to bottom, width * channels per row
};

// Resamples to width x height (each at least 1); the pixel centres of both grids coincide at the
// edges, as ImageMagick's resize has them.
Pixels8 ResampleLanczos3(const Pixels8& source, int width, int height);

}  // namespace brindle
