#pragma once
// The one way into LodePNG: an owner for its encoder state and output, and the encoding of a
// palette picture. The encoder's settings are its defaults (it may store the picture in a smaller
// colour mode; palette transparency goes into the file's transparency table), except that the
// data is deflated by zlib.

#include <string>
#include <vector>

#include "png8/quantise.h"

namespace brindle {

// Encodes width × height palette indices (one byte each) with the palette as PNG bytes. Returns
// LodePNG's error code: 0 on success, when bytes holds the file.
unsigned EncodePalettePng(const unsigned char* indices, unsigned width, unsigned height,
                          const std::vector<PaletteColor>& palette, std::string& bytes);

// LodePNG's text for an error code ("unknown error code" for codes it does not know).
std::string PngErrorText(unsigned code);

}  // namespace brindle
