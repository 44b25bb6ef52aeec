#pragma once
// The one way into libimagequant: owners for its objects, and the palette reduction of an RGBA
// picture with full dithering.

#include <libimagequant.h>

#include <cstddef>
#include <memory>
#include <vector>

namespace brindle {

struct LiqAttrDeleter {
  void operator()(liq_attr* attr) const {
    if (attr) liq_attr_destroy(attr);
  }
};
struct LiqImageDeleter {
  void operator()(liq_image* image) const {
    if (image) liq_image_destroy(image);
  }
};
struct LiqResultDeleter {
  void operator()(liq_result* result) const {
    if (result) liq_result_destroy(result);
  }
};

using LiqAttrPtr = std::unique_ptr<liq_attr, LiqAttrDeleter>;
using LiqImagePtr = std::unique_ptr<liq_image, LiqImageDeleter>;
using LiqResultPtr = std::unique_ptr<liq_result, LiqResultDeleter>;

struct PaletteColor {
  unsigned char r = 0;
  unsigned char g = 0;
  unsigned char b = 0;
  unsigned char a = 0;
};

// A picture as palette indices, one byte per pixel, rows top to bottom.
struct IndexedPicture {
  std::unique_ptr<unsigned char[]> indices;
  std::vector<PaletteColor> palette;
};

enum class QuantiseFailure { kNone, kQuantize, kRemap };

// The largest palette a quantisation can have; also what it has when no limit is set.
inline constexpr int kMaxPaletteColors = 256;

// Reduces width × height RGBA pixels (4 bytes each) to a palette. The colour limit is set only
// when color_count is 2 to 256; any other count leaves the library's own limit of 256.
QuantiseFailure QuantiseRgba(const unsigned char* rgba, int width, int height, int color_count,
                             IndexedPicture& out);

}  // namespace brindle
