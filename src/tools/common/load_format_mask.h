#pragma once
// Which source formats a tool takes from a folder: one bit per format, tested against the end of
// the whole file name without regard to letter case.

#include <cstdint>
#include <string_view>

namespace brindle {

using LoadFormatMask = std::uint32_t;

enum LoadFormatBit : LoadFormatMask {
  kLoadJpg = 1,     // "jpg": ".jpg", ".jpeg"
  kLoadPng = 2,     // "png"
  kLoadGif = 4,     // "gif"
  kLoadBmp = 8,     // "bmp"
  kLoadPsd = 16,    // "psd"
  kLoadTif = 32,    // "tif": ".tif", ".tiff"
  kLoadSvg = 64,    // "svg"
  kLoadHeic = 128,  // kept with the other bits, but selects no file
  kLoadWebp = 256,  // "webp"
  kLoadDng = 512,   // "dng"
  kLoadJfif = 1024,  // "jfif"
  // Bits of their own for the phone and web formats: a mask stored before them keeps its meaning
  // (the reserved "heic" bit above still selects nothing).
  kLoadHeif = 2048,  // "heic": ".heic", ".heif"
  kLoadAvif = 4096   // "avif"
};

// The crop, join and slice tools' first four boxes, and their default: jpg, png, gif and bmp.
inline constexpr LoadFormatMask kBasicLoadFormats = kLoadJpg | kLoadPng | kLoadGif | kLoadBmp;

// Every box of the crop, join and slice tools: the basic four, webp, heic and avif.
inline constexpr LoadFormatMask kToolLoadFormats =
    kBasicLoadFormats | kLoadWebp | kLoadHeif | kLoadAvif;

// True when file_name ends with an extension of a format whose bit is set in mask.
bool MaskSelectsFile(LoadFormatMask mask, std::string_view file_name);

}  // namespace brindle
