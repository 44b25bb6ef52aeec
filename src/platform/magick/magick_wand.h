#pragma once
// The one way into MagickWand and DrawingWand: owners that destroy every wand, pixel wand and
// ImageMagick-allocated text or blob on every path out, and the helpers that read and write
// pictures through explicitly opened files so that ImageMagick never interprets a file name.

#include <wand/MagickWand.h>

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>

namespace brindle {

struct MagickWandDeleter {
  void operator()(MagickWand* wand) const {
    if (wand) DestroyMagickWand(wand);
  }
};
struct DrawingWandDeleter {
  void operator()(DrawingWand* wand) const {
    if (wand) DestroyDrawingWand(wand);
  }
};
struct PixelWandDeleter {
  void operator()(PixelWand* wand) const {
    if (wand) DestroyPixelWand(wand);
  }
};
struct MagickMemoryDeleter {
  void operator()(void* memory) const {
    if (memory) MagickRelinquishMemory(memory);
  }
};

using MagickWandPtr = std::unique_ptr<MagickWand, MagickWandDeleter>;
using DrawingWandPtr = std::unique_ptr<DrawingWand, DrawingWandDeleter>;
using PixelWandPtr = std::unique_ptr<PixelWand, PixelWandDeleter>;
using MagickTextPtr = std::unique_ptr<char, MagickMemoryDeleter>;
using MagickBlobPtr = std::unique_ptr<unsigned char, MagickMemoryDeleter>;

inline MagickWandPtr MakeMagickWand() { return MagickWandPtr(NewMagickWand()); }
inline DrawingWandPtr MakeDrawingWand() { return DrawingWandPtr(NewDrawingWand()); }
inline PixelWandPtr MakePixelWand(const char* color = nullptr) {
  PixelWandPtr pixel(NewPixelWand());
  if (pixel && color) PixelSetColor(pixel.get(), color);
  return pixel;
}

// The wand's pending exception text ("" when there is none), cleared afterwards.
std::string TakeMagickError(MagickWand* wand);

// The format ImageMagick read the picture as ("JPEG", "PNG", "PSD", ...); empty when it names none.
std::string PictureFormat(MagickWand* wand);

// Reads all frames of a picture from a file. The file is read into memory and decoded from there,
// so its name is never handed to ImageMagick (and ImageMagick makes no temporary copy of it). false
// (with ImageMagick's reason in error) when the file cannot be read or decoded.
bool ReadPictureFile(MagickWand* wand, const std::filesystem::path& path, std::string* error);

// Decodes a picture held in memory (its format found from its bytes).
bool ReadPictureBytes(MagickWand* wand, const std::string& bytes, std::string* error);

// Reads only the picture's header (size, format, orientation) from bytes in memory.
bool PingPictureBytes(MagickWand* wand, const std::string& bytes);

// Writes the wand's current picture (in the format already set on the wand) to path, through a
// temporary file that replaces path only when complete.
bool WritePictureFile(MagickWand* wand, const std::filesystem::path& path, std::string* error);

// Encodes the wand's current picture into memory in the format set on it.
bool EncodePictureBlob(MagickWand* wand, std::string& bytes, std::string* error);

}  // namespace brindle
