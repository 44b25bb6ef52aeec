#pragma once
// Thumbnails shared with the desktop, as file managers and picture viewers on Linux keep them
// (the freedesktop.org thumbnail rules): a PNG of at most 128 x 128 pixels in
// $XDG_CACHE_HOME/thumbnails/normal, named by the MD5 of the file's URI, that records the URI and
// the file's modification time. A thumbnail whose time (or size) no longer matches the file is
// stale and made again; one that cannot be read is broken and made again; a cache that cannot be
// written is simply not written.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace brindle {

inline constexpr int kSharedThumbnailSide = 128;

// $XDG_CACHE_HOME/thumbnails/normal; the cache home is ~/.cache when the variable is unset, empty
// or not an absolute path. Empty when neither gives a folder.
std::filesystem::path SharedThumbnailFolder(const char* xdg_cache_home, const char* home);
// The same from this process's environment.
std::filesystem::path SharedThumbnailFolder();

// "file://" and the absolute path, its bytes percent-encoded except letters, digits and
// -._~!$&'()*+,=:@/ (what GLib's g_filename_to_uri leaves, so the name matches the desktop's).
std::string ThumbnailUri(const std::filesystem::path& path);

// The thumbnail's file name: the MD5 of the URI in lower-case hexadecimal, and ".png".
std::string SharedThumbnailName(const std::string& uri);

// What a thumbnail must record to stand for a file.
struct ThumbnailSource {
  std::string uri;
  std::int64_t mtime = 0;  // seconds since the epoch
  std::uint64_t size = 0;  // bytes
};
// None when the file cannot be reached.
std::optional<ThumbnailSource> ThumbnailSourceOf(const std::filesystem::path& path);

struct SharedThumbnail {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;  // width x height pixels, 4 bytes each, row by row
  // The picture's own upright size when the thumbnail records it, else 0.
  int image_width = 0;
  int image_height = 0;
};

// The thumbnail in a PNG's bytes when it stands for the source: its URI and MTime match (and its
// Size, when it has one) and it is at most 128 pixels on either side.
std::optional<SharedThumbnail> ParseSharedThumbnail(const std::string& png,
                                                    const ThumbnailSource& source);

// The valid thumbnail of the source in folder, if there is one.
std::optional<SharedThumbnail> ReadSharedThumbnail(const std::filesystem::path& folder,
                                                   const ThumbnailSource& source);

// The PNG bytes of a thumbnail for the source, with its URI, MTime, Size and picture size.
std::string EncodeSharedThumbnail(const SharedThumbnail& thumbnail, const ThumbnailSource& source);

// Writes the thumbnail into folder (made with mode 0700 where missing) through a temporary file
// renamed into place, mode 0600. false when it cannot be written; nothing else happens then.
bool WriteSharedThumbnail(const std::filesystem::path& folder, const SharedThumbnail& thumbnail,
                          const ThumbnailSource& source);

}  // namespace brindle
