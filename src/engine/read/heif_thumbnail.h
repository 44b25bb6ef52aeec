#pragma once
// The thumbnail a HEIF or AVIF file keeps beside its picture (phones store one of a few hundred
// pixels): decoding it costs a fraction of decoding the picture, so the picture list can show a
// phone photo's thumbnail without decoding twelve megapixels.

#include <filesystem>
#include <optional>
#include <string>

#include "engine/process/pixels8.h"

namespace brindle {

// The largest thumbnail of the file's primary picture as 8-bit RGB, turned as the picture is shown,
// when its longer side is at least min_side; none when the file is no HEIF or AVIF picture (told
// from its first bytes before any decoder sees it), keeps no such thumbnail, or the thumbnail
// cannot be decoded.
std::optional<Pixels8> HeifEmbeddedThumbnail(const std::filesystem::path& path, int min_side);
// The same from the file's bytes, read already.
std::optional<Pixels8> HeifEmbeddedThumbnail(const std::string& bytes, int min_side);

}  // namespace brindle
