#pragma once
// The file the main batch writes: JPEG, WebP or AVIF as the recipe's output format says, with the
// recipe's quality or target file size. ImageMagick searches a JPEG's quality for a target size
// itself ("jpeg:extent"); for WebP and AVIF the quality is searched here on the chosen encoder.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/magick/magick_wand.h"
#include "recipe/processing_options.h"

namespace brindle {

// ImageMagick's name of the format: "JPEG", "WEBP" or "AVIF".
const char* OutputMagickFormat(OutputFormat format);

// The written file's extension: ".jpg", ".webp" or ".avif".
std::string_view OutputExtension(OutputFormat format);

// The quality the WebP and AVIF encoders get, on the wand's picture and on the wand itself (the
// AVIF encoder reads the latter).
void SetEncoderQuality(MagickWand* wand, std::size_t quality);

// The target size in bytes when the recipe asks for one (compression switch on, "maximum file
// size" mode, 1 to 999998 KB), else 0.
std::size_t TargetFileSize(const ProcessingOptions& options);

// Encodes the wand's current picture in the recipe's output format. For WebP and AVIF with a target
// size, the highest quality whose file fits it is chosen; when none fits, the lowest quality's file
// is taken. false with ImageMagick's reason in error when the encoder refuses.
bool EncodeOutput(MagickWand* wand, const ProcessingOptions& options, std::string& bytes,
                  std::string* error);

}  // namespace brindle
