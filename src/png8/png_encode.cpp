#include "png8/png_encode.h"

#include <lodepng.h>
#include <zlib.h>

#include <cstdlib>
#include <memory>

namespace brindle {
namespace {

// LodePNG's error codes for the failures of the compressor below.
constexpr unsigned kOutOfMemory = 83;
constexpr unsigned kCompressionFailed = 111;

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

// The zlib stream of the picture data, made by zlib at its best compression. LodePNG's own
// compressor, with its small default window, makes dithered palette pictures several per cent and
// flat artwork a quarter larger, and takes longer. The buffer is LodePNG's to free.
// The level is Z_BEST_COMPRESSION unless the settings' custom context points at another one.
unsigned CompressWithZlib(unsigned char** out, size_t* out_size, const unsigned char* in,
                          size_t in_size, const LodePNGCompressSettings* settings) {
  const int level = settings && settings->custom_context
                        ? *static_cast<const int*>(settings->custom_context)
                        : Z_BEST_COMPRESSION;
  uLongf size = compressBound(in_size);
  std::unique_ptr<unsigned char, FreeDeleter> buffer(
      static_cast<unsigned char*>(std::malloc(size)));
  if (!buffer) return kOutOfMemory;
  if (compress2(buffer.get(), &size, in, in_size, level) != Z_OK) {
    return kCompressionFailed;
  }
  *out = buffer.release();
  *out_size = size;
  return 0;
}

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
  state.get()->encoder.zlibsettings.custom_zlib = CompressWithZlib;
  unsigned char* out = nullptr;
  std::size_t size = 0;
  unsigned error = lodepng_encode(&out, &size, indices, width, height, state.get());
  std::unique_ptr<unsigned char, FreeDeleter> owned(out);
  if (error != 0) return error;
  bytes.assign(reinterpret_cast<const char*>(owned.get()), size);
  return 0;
}

unsigned EncodeRgbaPng(const std::uint8_t* rgba, unsigned width, unsigned height,
                       const PngTexts& texts, std::string& bytes) {
  PngState state;
  state.get()->info_raw.colortype = LCT_RGBA;
  state.get()->info_raw.bitdepth = 8;
  for (const auto& [key, text] : texts) {
    if (unsigned error = lodepng_add_text(&state.get()->info_png, key.c_str(), text.c_str())) {
      return error;
    }
  }
  // Small pictures written while the user waits: a fast level costs a few per cent of size.
  static const int kFastLevel = 3;
  state.get()->encoder.zlibsettings.custom_zlib = CompressWithZlib;
  state.get()->encoder.zlibsettings.custom_context = &kFastLevel;
  unsigned char* out = nullptr;
  std::size_t size = 0;
  unsigned error = lodepng_encode(&out, &size, rgba, width, height, state.get());
  std::unique_ptr<unsigned char, FreeDeleter> owned(out);
  if (error != 0) return error;
  bytes.assign(reinterpret_cast<const char*>(owned.get()), size);
  return 0;
}

unsigned DecodeRgbaPng(const std::string& bytes, DecodedPng& png) {
  PngState state;
  state.get()->info_raw.colortype = LCT_RGBA;
  state.get()->info_raw.bitdepth = 8;
  unsigned char* out = nullptr;
  unsigned error =
      lodepng_decode(&out, &png.width, &png.height, state.get(),
                     reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  std::unique_ptr<unsigned char, FreeDeleter> owned(out);
  if (error != 0) return error;
  png.rgba.assign(owned.get(), owned.get() + std::size_t{png.width} * png.height * 4);
  png.texts.clear();
  const LodePNGInfo& info = state.get()->info_png;
  for (std::size_t i = 0; i < info.text_num; ++i) {
    png.texts.emplace_back(info.text_keys[i], info.text_strings[i]);
  }
  return 0;
}

std::string PngErrorText(unsigned code) { return lodepng_error_text(code); }

}  // namespace brindle
