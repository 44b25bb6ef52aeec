#pragma once
// The size of a HEIF or AVIF picture read from its boxes without decoding it: the primary item's
// picture-size property ("ispe"), turned a quarter when its rotation property ("irot") says so.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "platform/files/buffered_file_reader.h"

namespace brindle {

struct HeifSides {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
};

// The "meta" box is read whole only up to this length; real ones are a few kilobytes.
inline constexpr std::uint64_t kLongestHeifMetaBox = 4u << 20;

// From the payload of the "meta" box (after its version and flags); none when the boxes do not say.
std::optional<HeifSides> HeifSidesFromMeta(std::span<const std::uint8_t> meta);

// Walks the file's top-level boxes to "meta" and reads the sides from it; none when the walk runs
// off the file or the boxes do not say.
std::optional<HeifSides> ReadHeifSides(BufferedFileReader& reader);

}  // namespace brindle
