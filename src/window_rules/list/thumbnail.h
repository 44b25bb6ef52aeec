#pragma once
// The picture list's thumbnails: the picture fitted into 94 x 94 on white, turned and flipped as its
// entry says, in a one-pixel grey frame: 96 x 96 pixels. They are drawn from the 128-pixel
// thumbnail shared with the desktop, which is read from the shared cache when a valid one is there
// and otherwise made (a JPEG decoded straight to a small size, other pictures read by ImageMagick)
// and stored there.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "window_rules/list/shared_thumbnail.h"

namespace brindle {

inline constexpr int kThumbnailSide = 96;

struct Thumbnail {
  // kThumbnailSide x kThumbnailSide pixels, 4 bytes each (R, G, B, A), row by row; empty when the
  // picture could not be used, and failure then holds the line for the information log.
  std::vector<std::uint8_t> rgba;
  std::string failure;
};

struct ThumbnailOrder {
  int rotation = 0;      // clockwise degrees
  bool flipped = false;  // mirror top-to-bottom after turning
  // The shared cache; empty: neither read nor written.
  std::filesystem::path shared_folder;
  // false: a thumbnail in the cache is not trusted (the file was just written over) and is replaced.
  bool read_shared = true;
};

// Needs ImageMagick started; safe on any thread.
Thumbnail MakeThumbnail(const std::filesystem::path& path, const ThumbnailOrder& order);
// Without the shared cache.
Thumbnail MakeThumbnail(const std::filesystem::path& path, int rotation, bool flipped);

// The picture upright and fitted into 128 x 128 (a smaller picture keeps its size), recording its
// own size; none with the information log's line in failure when it cannot be read.
std::optional<SharedThumbnail> MakeSharedThumbnail(const std::filesystem::path& path,
                                                   std::string& failure);

// The list's 96 x 96 thumbnail drawn from a shared one.
std::vector<std::uint8_t> FrameThumbnail(const SharedThumbnail& shared, int rotation, bool flipped);

// The picture's fitted size inside the 94 x 94 square, keeping its aspect ratio; pictures that fit
// keep their size.
struct FittedSize {
  int width = 0;
  int height = 0;
};
FittedSize FitThumbnail(int width, int height);

}  // namespace brindle
