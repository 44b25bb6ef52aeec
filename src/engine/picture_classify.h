#pragma once
// What kind of picture a file holds, told from its first bytes without decoding it: the picture
// list shows a type icon by it, and the overwrite-mode workers use it to pass over animated GIFs.

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace brindle {

// The formats carry the picture list's type icon number; the failures are zero or negative.
enum class PictureClass : int {
  kJpeg = 113,
  kPng = 114,
  kGif = 115,
  kBmp = 116,
  kPsd = 117,
  kTiff = 118,
  kCannotOpen = 0,
  kAnimatedGif = -1,
  kUnknown = -2,
};

// True for the six formats, false for the failures.
bool IsPictureFormat(PictureClass picture_class);

// "JPEG", "PNG", "GIF", "BMP", "PSD" or "TIFF"; empty for the failures.
std::string_view PictureClassName(PictureClass picture_class);

// The format announced by a file's first two bytes ("BM", FF D8, "GI", 89 50, "II", "MM", "8B"), or
// kUnknown.
PictureClass ClassifySignature(std::uint8_t first, std::uint8_t second);

// The class of the file's content. A GIF89a is walked block by block to count its images: a second
// image makes it kAnimatedGif; a walk that meets an unknown block or runs off the end of the file
// makes it kUnknown.
PictureClass ClassifyPictureFile(const std::filesystem::path& path);

}  // namespace brindle
