#include "png8/png_encode.h"

#include <lodepng.h>

#include <cstdlib>
#include <memory>

namespace brindle {
namespace {

// Owns an encoder state from lodepng_state_init to lodepng_state_cleanup.
class PngState {
 public:
  PngState() { lodepng_state_init(&state_); }
  ~PngState() { lodepng_state_cleanup(&state_); }
  PngState(const PngState&) = delete;
  PngState& operator=(const PngState&) = delete;
  LodePNGState* get() { return &state_; }

 private:
  LodePNGState state_;
};

// LodePNG's output is allocated with the standard allocator.
struct FreeDeleter {
  void operator()(unsigned char* memory) const { std::free(memory); }
};

}  // namespace

unsigned EncodePalettePng(const unsigned char* indices, unsigned width, unsigned height,
                          const std::vector<PaletteColor>& palette, std::string& bytes) {
  PngState state;
  LodePNGColorMode& raw = state.get()->info_raw;
  LodePNGColorMode& png = state.get()->info_png.color;
  raw.colortype = LCT_PALETTE;
  raw.bitdepth = 8;
  png.colortype = LCT_PALETTE;
  png.bitdepth = 8;
  for (const PaletteColor& color : palette) {
    if (unsigned error = lodepng_palette_add(&png, color.r, color.g, color.b, color.a)) {
      return error;
    }
    if (unsigned error = lodepng_palette_add(&raw, color.r, color.g, color.b, color.a)) {
      return error;
    }
  }
  unsigned char* out = nullptr;
  std::size_t size = 0;
  unsigned error = lodepng_encode(&out, &size, indices, width, height, state.get());
  std::unique_ptr<unsigned char, FreeDeleter> owned(out);
  if (error != 0) return error;
  bytes.assign(reinterpret_cast<const char*>(owned.get()), size);
  return 0;
}

std::string PngErrorText(unsigned code) { return lodepng_error_text(code); }

}  // namespace brindle
