#include "engine/scaled_jpeg_decode.h"

// jpeglib.h needs size_t and FILE declared first.
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace brindle {
namespace {

struct ErrorTrap {
  jpeg_error_mgr manager;  // first, so the library's pointer to it is a pointer to this
  std::jmp_buf jump;
};

[[noreturn]] void JumpOut(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1);
}

// Warnings (corrupt data the decoder works around) are counted, not printed.
void CountWarning(j_common_ptr info, int level) {
  if (level < 0) ++info->err->num_warnings;
}

// The decompressor, destroyed however the decoding ends.
class Decompressor {
 public:
  explicit Decompressor(jpeg_error_mgr* errors) {
    info_.err = errors;
    jpeg_create_decompress(&info_);
  }
  ~Decompressor() { jpeg_destroy_decompress(&info_); }
  Decompressor(const Decompressor&) = delete;
  Decompressor& operator=(const Decompressor&) = delete;
  jpeg_decompress_struct* get() { return &info_; }

 private:
  jpeg_decompress_struct info_{};
};

// The smallest numerator (of eighths) that keeps both sides at least as large as asked.
unsigned ScaleNumerator(unsigned width, unsigned height, int least_width, int least_height) {
  for (unsigned eighths = 1; eighths < 8; ++eighths) {
    const unsigned scaled_width = (width * eighths + 7) / 8;
    const unsigned scaled_height = (height * eighths + 7) / 8;
    if (scaled_width >= static_cast<unsigned>(least_width) &&
        scaled_height >= static_cast<unsigned>(least_height)) {
      return eighths;
    }
  }
  return 8;
}

// The decoding itself, apart so that nothing it changes lives in the frame the error jumps back to.
bool Decode(jpeg_decompress_struct* info, ErrorTrap& trap, const std::string& bytes,
            int least_width, int least_height, int width, int height,
            std::optional<LanczosResampler>& resampler, std::vector<std::uint8_t>& row) {
  if (setjmp(trap.jump) != 0) return false;
  jpeg_mem_src(info, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK || info->data_precision != 8) return false;
  if (info->jpeg_color_space == JCS_GRAYSCALE) {
    info->out_color_space = JCS_GRAYSCALE;
  } else if (info->jpeg_color_space == JCS_YCbCr || info->jpeg_color_space == JCS_RGB) {
    info->out_color_space = JCS_RGB;
  } else {
    return false;
  }
  info->scale_num =
      ScaleNumerator(info->image_width, info->image_height, least_width, least_height);
  info->scale_denom = 8;
  jpeg_start_decompress(info);

  const int channels = info->output_components;
  resampler.emplace(static_cast<int>(info->output_width), static_cast<int>(info->output_height),
                    channels, width, height);
  row.resize(static_cast<std::size_t>(info->output_width) * channels);
  while (info->output_scanline < info->output_height) {
    JSAMPROW rows[1] = {row.data()};
    if (jpeg_read_scanlines(info, rows, 1) != 1) return false;
    resampler->AddRow(row.data());
  }
  jpeg_finish_decompress(info);
  return trap.manager.num_warnings == 0;
}

}  // namespace

std::optional<Pixels8> DecodeJpegResized(const std::string& bytes, int least_width,
                                         int least_height, int width, int height) {
  ErrorTrap trap;
  jpeg_std_error(&trap.manager);
  trap.manager.error_exit = JumpOut;
  trap.manager.emit_message = CountWarning;
  Decompressor decompressor(&trap.manager);
  std::optional<LanczosResampler> resampler;
  std::vector<std::uint8_t> row;
  if (!Decode(decompressor.get(), trap, bytes, least_width, least_height, width, height, resampler,
              row)) {
    return std::nullopt;
  }
  return resampler->Take();
}

}  // namespace brindle
