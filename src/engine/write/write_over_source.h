#pragma once
// Overwrite mode: the processed picture replaces its source file as JPEG (or the recipe's WebP or
// AVIF) data under the source's own name. The new bytes go to a temporary file beside the source that replaces it only when
// complete, so a failure leaves the source as it was; the reason goes to the information log.

#include <filesystem>

#include "platform/magick/magick_wand.h"
#include "recipe/processing_options.h"

namespace brindle {

// The file a source path stands for: the file a link points to, else the path itself. Writing over
// a source replaces that file, so the link stays a link.
std::filesystem::path FileBehindLink(const std::filesystem::path& source);

// Encodes the wand's picture in the recipe's output format (JPEG for a zero-filled record) and
// writes it over source. The wand stays the caller's.
bool WriteOverSource(MagickWand* wand, const std::filesystem::path& source,
                     const ProcessingOptions& options = {});

}  // namespace brindle
