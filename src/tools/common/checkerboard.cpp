#include "tools/common/checkerboard.h"

#include <cstddef>
#include <vector>

namespace brindle {
namespace {

constexpr std::size_t kTileSide = 128;
constexpr std::size_t kSquareSide = 8;
constexpr std::size_t kTextureSide = 1024;

// The texture: the 128 × 128 tile repeated over 1024 × 1024 pixels, as 8-bit RGB. Made on first
// need and kept for the life of the process.
const std::vector<unsigned char>& CheckerboardPixels() {
  static const std::vector<unsigned char> pixels = [] {
    std::vector<unsigned char> rgb(kTextureSide * kTextureSide * 3);
    for (std::size_t y = 0; y < kTextureSide; ++y) {
      for (std::size_t x = 0; x < kTextureSide; ++x) {
        const std::size_t tile_x = x % kTileSide / kSquareSide;
        const std::size_t tile_y = y % kTileSide / kSquareSide;
        const unsigned char value = (tile_x + tile_y) % 2 == 0 ? 0xFF : 0xCC;
        unsigned char* pixel = &rgb[(y * kTextureSide + x) * 3];
        pixel[0] = pixel[1] = pixel[2] = value;
      }
    }
    return rgb;
  }();
  return pixels;
}

}  // namespace

bool LayOverCheckerboard(MagickWand* picture) {
  const std::vector<unsigned char>& pixels = CheckerboardPixels();
  MagickWandPtr texture = MakeMagickWand();
  if (MagickConstituteImage(texture.get(), kTextureSide, kTextureSide, "RGB", CharPixel,
                            pixels.data()) == MagickFalse) {
    return false;
  }
  const std::size_t width = MagickGetImageWidth(picture);
  const std::size_t height = MagickGetImageHeight(picture);
  // Composed under the picture tile by tile: no second canvas of the picture's size is made.
  for (std::size_t y = 0; y < height; y += kTextureSide) {
    for (std::size_t x = 0; x < width; x += kTextureSide) {
      if (MagickCompositeImage(picture, texture.get(), DstOverCompositeOp, static_cast<ssize_t>(x),
                               static_cast<ssize_t>(y)) == MagickFalse) {
        return false;
      }
    }
  }
  MagickSetImageAlphaChannel(picture, DeactivateAlphaChannel);
  return true;
}

}  // namespace brindle
