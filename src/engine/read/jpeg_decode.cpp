#include "engine/read/jpeg_decode.h"

#include <csetjmp>
// jpeglib.h needs size_t and FILE declared first.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
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

// The colour models decoded here: grey as grey or RGB, YCbCr and RGB as RGB.
bool ChooseOutput(jpeg_decompress_struct* info, bool grey_as_rgb) {
  if (info->data_precision != 8) return false;
  if (info->jpeg_color_space == JCS_GRAYSCALE) {
    info->out_color_space = grey_as_rgb ? JCS_RGB : JCS_GRAYSCALE;
    return true;
  }
  if (info->jpeg_color_space == JCS_YCbCr || info->jpeg_color_space == JCS_RGB) {
    info->out_color_space = JCS_RGB;
    return true;
  }
  return false;
}

// The decoding itself, apart so that nothing it changes lives in the frame the error jumps back
// to: reads the header, lets set_up choose the output (false: not decoded here), then has
// read_row read each row where it wants it (false: the decoder gave no row).
template <typename SetUp, typename ReadRow>
bool Decode(jpeg_decompress_struct* info, ErrorTrap& trap, const std::string& bytes, SetUp& set_up,
            ReadRow& read_row) {
  if (setjmp(trap.jump) != 0) return false;
  jpeg_mem_src(info, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK || !set_up(info)) return false;
  jpeg_start_decompress(info);
  while (info->output_scanline < info->output_height) {
    if (!read_row(info)) return false;
  }
  jpeg_finish_decompress(info);
  return trap.manager.num_warnings == 0;
}

template <typename SetUp, typename ReadRow>
bool DecodeWith(const std::string& bytes, SetUp set_up, ReadRow read_row) {
  ErrorTrap trap;
  jpeg_std_error(&trap.manager);
  trap.manager.error_exit = JumpOut;
  trap.manager.emit_message = CountWarning;
  Decompressor decompressor(&trap.manager);
  return Decode(decompressor.get(), trap, bytes, set_up, read_row);
}

// Reads the next row into row.
bool ReadRowInto(jpeg_decompress_struct* info, std::uint8_t* row) {
  JSAMPROW rows[1] = {row};
  return jpeg_read_scanlines(info, rows, 1) == 1;
}

}  // namespace

std::optional<Pixels8> DecodeJpegResized(const std::string& bytes, int least_width,
                                         int least_height, int width, int height) {
  std::optional<LanczosResampler> resampler;
  std::vector<std::uint8_t> row;
  auto set_up = [&](jpeg_decompress_struct* info) {
    if (!ChooseOutput(info, /*grey_as_rgb=*/false)) return false;
    info->scale_num =
        ScaleNumerator(info->image_width, info->image_height, least_width, least_height);
    info->scale_denom = 8;
    jpeg_calc_output_dimensions(info);
    resampler.emplace(static_cast<int>(info->output_width), static_cast<int>(info->output_height),
                      info->output_components, width, height);
    row.resize(static_cast<std::size_t>(info->output_width) * info->output_components);
    return true;
  };
  auto read_row = [&](jpeg_decompress_struct* info) {
    if (!ReadRowInto(info, row.data())) return false;
    resampler->AddRow(row.data());
    return true;
  };
  if (!DecodeWith(bytes, set_up, read_row)) return std::nullopt;
  return resampler->Take();
}

std::optional<DecodedJpeg> DecodeJpegRgb(const std::string& bytes) {
  DecodedJpeg decoded;
  std::uint8_t* next = nullptr;
  std::size_t row_length = 0;
  auto set_up = [&](jpeg_decompress_struct* info) {
    if (!ChooseOutput(info, /*grey_as_rgb=*/true)) return false;
    jpeg_calc_output_dimensions(info);
    JpegLayout& layout = decoded.layout;
    layout.components = info->num_components;
    for (int i = 0; i < info->num_components; ++i) {
      if (i > 0) layout.sampling += ",";
      layout.sampling += std::to_string(info->comp_info[i].h_samp_factor) + "x" +
                         std::to_string(info->comp_info[i].v_samp_factor);
    }
    layout.unit_width = info->max_h_samp_factor * DCTSIZE;
    layout.unit_height = info->max_v_samp_factor * DCTSIZE;
    Pixels8& pixels = decoded.pixels;
    pixels.width = static_cast<int>(info->output_width);
    pixels.height = static_cast<int>(info->output_height);
    pixels.channels = 3;
    row_length = static_cast<std::size_t>(pixels.width) * 3;
    pixels.samples.resize(row_length * static_cast<std::size_t>(pixels.height));
    next = pixels.samples.data();
    return true;
  };
  // Straight into the picture, row after row.
  auto read_row = [&](jpeg_decompress_struct* info) {
    if (!ReadRowInto(info, next)) return false;
    next += row_length;
    return true;
  };
  if (!DecodeWith(bytes, set_up, read_row)) return std::nullopt;
  return decoded;
}

}  // namespace brindle
