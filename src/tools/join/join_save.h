#pragma once
// Writing a joined picture in the chosen output: JPEG flattened onto white at the chosen quality;
// PNG-8 with or without its transparency through the palette encoder; PNG with its transparency or
// flattened onto white without an alpha channel.

#include <filesystem>

#include "platform/magick/magick_wand.h"
#include "run/batch/run_message.h"
#include "tools/common/tool_settings.h"

namespace brindle {

// ".jpg" or ".png".
const char* JoinExtension(ToolOutputFormat format);

// Writes the joined picture to target (the JPEG side limit is the caller's). On failure, failure
// holds the write-step message (also for a refused flattening) or the PNG-8 message with the whole
// target path. The picture is flattened in place when its transparency is not kept.
bool SaveJoinedPicture(MagickWand* joined, const std::filesystem::path& target,
                       const JoinToolSettings& settings, RunMessage& failure);

// JPEG encoders make their Huffman tables fit the picture by holding all of its coefficients, about
// as many bytes again as the picture has samples. Above this many pixels a joined picture is
// encoded with the standard tables instead: the file is a few percent larger, the pixels are the
// same, and the encoder holds rows rather than a second picture.
inline constexpr long long kOptimisedJpegPixelLimit = 16LL * 1024 * 1024;

// Asks for the standard Huffman tables when the wand's picture is above the limit.
void KeepJpegEncoderSmall(MagickWand* wand);

// Lays the picture over white in place and switches its alpha channel off. The same as extending
// it over a white canvas of its own size, without a second canvas in memory. false when ImageMagick
// refuses; its reason stays on the wand.
bool FlattenJoinedOntoWhite(MagickWand* joined);

}  // namespace brindle
