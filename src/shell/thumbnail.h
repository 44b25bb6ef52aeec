#pragma once
// The picture list's thumbnails: the picture fitted into 94 x 94 on white, turned and flipped as its
// entry says, in a one-pixel grey frame: 96 x 96 pixels.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace brindle {

inline constexpr int kThumbnailSide = 96;

struct Thumbnail {
  // kThumbnailSide x kThumbnailSide pixels, 4 bytes each (R, G, B, A), row by row; empty when the
  // picture could not be used, and failure then holds the line for the information log.
  std::vector<std::uint8_t> rgba;
  std::string failure;
};

// rotation: clockwise degrees; flipped: mirror top-to-bottom after turning. Needs ImageMagick
// started; safe on any thread.
Thumbnail MakeThumbnail(const std::filesystem::path& path, int rotation, bool flipped);

// The picture's fitted size inside the 94 x 94 square, keeping its aspect ratio; pictures that fit
// keep their size.
struct FittedSize {
  int width = 0;
  int height = 0;
};
FittedSize FitThumbnail(int width, int height);

}  // namespace brindle
