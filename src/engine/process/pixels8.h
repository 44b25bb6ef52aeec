#pragma once
// A picture as 8-bit samples, the form the JPEG decoder and the resampler work in and the crop
// pane displays.

#include <cstdint>
#include <vector>

namespace brindle {

struct Pixels8 {
  int width = 0;
  int height = 0;
  int channels = 0;                   // samples per pixel, interleaved (1 grey, 3 RGB)
  std::vector<std::uint8_t> samples;  // rows top to bottom, width * channels per row
};

}  // namespace brindle
