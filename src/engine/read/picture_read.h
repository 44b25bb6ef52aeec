#pragma once
// Reading a picture for any part of the program: through an explicitly opened file (no file name is
// ever interpreted by ImageMagick), then turned upright when its Exif orientation (or, for HEIF and
// AVIF, the rotation its container stores, which the decoder applies) says it is shown turned or
// mirrored, with the orientation reset to normal, so every later step sees what the user sees.

#include <filesystem>
#include <string>

#include "platform/magick/magick_wand.h"

namespace brindle {

// The reason ReadPicture gives for an animated WebP or a HEIF/AVIF picture sequence: told from the
// file's first bytes, before any decoder sees the rest.
inline constexpr const char* kMovingPictureReason = "moving picture";

// The message a moving picture (an animated GIF or WebP, a HEIF sequence) is refused with.
inline constexpr const char* kUnsupportedFormatMessage = "这是一个不受支持的图片格式:\r\n%s";

// True when the bytes begin an animated WebP or a HEIF/AVIF picture sequence.
bool IsMovingContainer(const std::string& bytes);

// ImageMagick's HEIF reader names an AVIF picture "HEIC"; it is named "AVIF" here, from the file's
// first bytes, so that a picture kept in its own format is written as AVIF again.
void NameAvifFormat(MagickWand* wand, const std::string& bytes);

// True when the wand holds a picture of a format that moves (GIF, WebP) in two or more frames.
bool HasMovingFrames(MagickWand* wand);

// The picture with all its frames, or null with ImageMagick's reason in error (also when it refuses
// to turn the picture upright, and kMovingPictureReason for a moving picture of the newer formats).
MagickWandPtr ReadPicture(const std::filesystem::path& path, std::string* error = nullptr);

// Turns every frame of the wand upright by its orientation and resets the orientation to top-left.
// A WebP's orientation is taken from its Exif block, which ImageMagick's reader leaves unread.
// false when ImageMagick refuses; its reason stays on the wand.
bool AutoOrient(MagickWand* wand);

// True for the orientations that exchange width and height when the picture is turned upright.
bool TurnsSidewaysWhenUpright(OrientationType orientation);

// The orientation a WebP file's Exif chunk stores, read from the file's bytes by walking its chunks;
// undefined when it has none.
OrientationType WebpExifOrientation(const std::string& bytes);

// The orientation stored in an Exif block (with or without its "Exif\0\0" lead); undefined when
// the block has none.
OrientationType ExifOrientation(const unsigned char* exif, std::size_t length);

}  // namespace brindle
