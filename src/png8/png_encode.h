#pragma once
// The one way into LodePNG: an owner for its encoder state and output, the encoding of a palette
// picture and of an RGBA picture with text chunks, and the decoding of a PNG to RGBA with its texts.
// The encoder's settings are its defaults (it may store the picture in a smaller colour mode;
// palette transparency goes into the file's transparency table), except that the data is deflated
// by zlib.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "png8/quantise.h"

namespace brindle {

// Encodes width × height palette indices (one byte each) with the palette as PNG bytes. Returns
// LodePNG's error code: 0 on success, when bytes holds the file.
unsigned EncodePalettePng(const unsigned char* indices, unsigned width, unsigned height,
                          const std::vector<PaletteColor>& palette, std::string& bytes);

// A PNG's tEXt chunks, keyword and text, in file order.
using PngTexts = std::vector<std::pair<std::string, std::string>>;

// Encodes width × height RGBA pixels (4 bytes each, row by row) with the texts as tEXt chunks,
// deflated quickly (for small pictures made often). Returns LodePNG's error code (0: bytes holds
// the file).
unsigned EncodeRgbaPng(const std::uint8_t* rgba, unsigned width, unsigned height,
                       const PngTexts& texts, std::string& bytes);

// Decodes a PNG to RGBA with its tEXt chunks. Returns LodePNG's error code (0: decoded).
struct DecodedPng {
  unsigned width = 0;
  unsigned height = 0;
  std::vector<std::uint8_t> rgba;
  PngTexts texts;
};
unsigned DecodeRgbaPng(const std::string& bytes, DecodedPng& png);

// LodePNG's text for an error code ("unknown error code" for codes it does not know).
std::string PngErrorText(unsigned code);

}  // namespace brindle
