#pragma once
// What kind of picture a file holds, told from its first bytes without decoding it: the picture
// list shows a type icon by it, and the overwrite-mode workers use it to pass over animated GIFs.

#include <cstddef>
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
  kHeif = 119,
  kAvif = 120,
  kWebp = 121,
  kCannotOpen = 0,
  kAnimatedGif = -1,
  kUnknown = -2,
  // Moving pictures of the newer formats; reported as -1 like an animated GIF.
  kAnimatedWebp = -3,
  kHeifSequence = -4,
};

// True for the nine formats, false for the failures.
bool IsPictureFormat(PictureClass picture_class);

// True for an animated GIF or WebP and a HEIF/AVIF picture sequence.
bool IsMovingPicture(PictureClass picture_class);

// The number a failure is reported by: 0, -1 (a moving picture of any format) or -2.
int FailureCode(PictureClass picture_class);

// "JPEG", "PNG", "GIF", "BMP", "PSD", "TIFF", "HEIF", "AVIF" or "WEBP"; empty for the failures.
std::string_view PictureClassName(PictureClass picture_class);

// How many of a file's first bytes classification looks at: enough for a WebP extended header and
// an "ftyp" box with a dozen compatible brands.
inline constexpr std::size_t kClassifyHeadBytes = 64;

// The newer container formats told from a file's first bytes: a RIFF "WEBP" file (animated when
// its extended header says so) and an ISO base media file whose "ftyp" box names a HEIF or AVIF
// brand (a sequence when its major brand is one of the sequence brands). kUnknown for anything
// else. head holds up to kClassifyHeadBytes.
PictureClass ClassifyContainer(const std::uint8_t* head, std::size_t length);

// The format announced by a file's first two bytes ("BM", FF D8, "GI", 89 50, "II", "MM", "8B"), or
// kUnknown.
PictureClass ClassifySignature(std::uint8_t first, std::uint8_t second);

// The class of the file's content. The newer formats are told by ClassifyContainer. A GIF89a is walked block by block to count its images: a second
// image makes it kAnimatedGif; a walk that meets an unknown block or runs off the end of the file
// makes it kUnknown.
PictureClass ClassifyPictureFile(const std::filesystem::path& path);

}  // namespace brindle
