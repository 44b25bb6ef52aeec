#include "window_rules/list/shared_thumbnail.h"

#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <system_error>

#include "platform/files/file_write.h"
#include "platform/files/md5.h"
#include "png8/png_encode.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUriKey = "Thumb::URI";
constexpr const char* kMTimeKey = "Thumb::MTime";
constexpr const char* kSizeKey = "Thumb::Size";
constexpr const char* kWidthKey = "Thumb::Image::Width";
constexpr const char* kHeightKey = "Thumb::Image::Height";

bool KeptInUri(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return c != 0 && std::strchr("-._~!$&'()*+,=:@/", c) != nullptr;
}

// A whole decimal number, nothing else.
std::optional<std::int64_t> WholeNumber(const std::string& text) {
  if (text.empty() || text.size() > 19) return std::nullopt;
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// Makes the missing folders of path, each with mode 0700.
bool MakePrivateFolders(const fs::path& path) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) return true;
  const fs::path parent = path.parent_path();
  if (!parent.empty() && parent != path && !MakePrivateFolders(parent)) return false;
  return ::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

}  // namespace

fs::path SharedThumbnailFolder(const char* xdg_cache_home, const char* home) {
  fs::path cache;
  if (xdg_cache_home && *xdg_cache_home && fs::path(xdg_cache_home).is_absolute()) {
    cache = xdg_cache_home;
  } else if (home && *home) {
    cache = fs::path(home) / ".cache";
  } else {
    return {};
  }
  return cache / "thumbnails" / "normal";
}

fs::path SharedThumbnailFolder() {
  return SharedThumbnailFolder(std::getenv("XDG_CACHE_HOME"), std::getenv("HOME"));
}

std::string ThumbnailUri(const fs::path& path) {
  std::error_code ec;
  fs::path absolute = fs::absolute(path, ec);
  if (ec) absolute = path;
  const std::string bytes = absolute.lexically_normal().string();
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string uri = "file://";
  for (char byte : bytes) {
    const auto c = static_cast<unsigned char>(byte);
    if (KeptInUri(c)) {
      uri.push_back(byte);
    } else {
      uri.push_back('%');
      uri.push_back(kHex[c >> 4]);
      uri.push_back(kHex[c & 15]);
    }
  }
  return uri;
}

std::string SharedThumbnailName(const std::string& uri) { return Md5Hex(uri) + ".png"; }

std::optional<ThumbnailSource> ThumbnailSourceOf(const fs::path& path) {
  struct stat facts {};
  if (::stat(path.c_str(), &facts) != 0 || !S_ISREG(facts.st_mode)) return std::nullopt;
  return ThumbnailSource{ThumbnailUri(path), static_cast<std::int64_t>(facts.st_mtime),
                         static_cast<std::uint64_t>(facts.st_size)};
}

std::optional<SharedThumbnail> ParseSharedThumbnail(const std::string& png,
                                                    const ThumbnailSource& source) {
  DecodedPng decoded;
  if (DecodeRgbaPng(png, decoded) != 0) return std::nullopt;
  if (decoded.width == 0 || decoded.height == 0 || decoded.width > kSharedThumbnailSide ||
      decoded.height > kSharedThumbnailSide) {
    return std::nullopt;
  }
  bool uri_matches = false;
  bool mtime_matches = false;
  SharedThumbnail thumbnail;
  for (const auto& [key, text] : decoded.texts) {
    if (key == kUriKey) {
      uri_matches = text == source.uri;
    } else if (key == kMTimeKey) {
      mtime_matches = WholeNumber(text) == source.mtime;
    } else if (key == kSizeKey) {
      if (WholeNumber(text) != static_cast<std::int64_t>(source.size)) return std::nullopt;
    } else if (key == kWidthKey || key == kHeightKey) {
      const std::optional<std::int64_t> side = WholeNumber(text);
      if (side && *side > 0 && *side <= (1 << 24)) {
        (key == kWidthKey ? thumbnail.image_width : thumbnail.image_height) =
            static_cast<int>(*side);
      }
    }
  }
  if (!uri_matches || !mtime_matches) return std::nullopt;
  if (thumbnail.image_width == 0 || thumbnail.image_height == 0) {
    thumbnail.image_width = thumbnail.image_height = 0;
  }
  thumbnail.width = static_cast<int>(decoded.width);
  thumbnail.height = static_cast<int>(decoded.height);
  thumbnail.rgba = std::move(decoded.rgba);
  return thumbnail;
}

std::optional<SharedThumbnail> ReadSharedThumbnail(const fs::path& folder,
                                                   const ThumbnailSource& source) {
  if (folder.empty()) return std::nullopt;
  std::string bytes;
  if (!ReadWholeFile(folder / SharedThumbnailName(source.uri), bytes)) return std::nullopt;
  return ParseSharedThumbnail(bytes, source);
}

std::string EncodeSharedThumbnail(const SharedThumbnail& thumbnail, const ThumbnailSource& source) {
  PngTexts texts = {{kUriKey, source.uri},
                    {kMTimeKey, std::to_string(source.mtime)},
                    {kSizeKey, std::to_string(source.size)},
                    {"Software", "Brindle"}};
  if (thumbnail.image_width > 0 && thumbnail.image_height > 0) {
    texts.emplace_back(kWidthKey, std::to_string(thumbnail.image_width));
    texts.emplace_back(kHeightKey, std::to_string(thumbnail.image_height));
  }
  std::string bytes;
  if (EncodeRgbaPng(thumbnail.rgba.data(), static_cast<unsigned>(thumbnail.width),
                    static_cast<unsigned>(thumbnail.height), texts, bytes) != 0) {
    bytes.clear();
  }
  return bytes;
}

bool WriteSharedThumbnail(const fs::path& folder, const SharedThumbnail& thumbnail,
                          const ThumbnailSource& source) {
  if (folder.empty() || !MakePrivateFolders(folder)) return false;
  const std::string bytes = EncodeSharedThumbnail(thumbnail, source);
  if (bytes.empty()) return false;
  return WriteFileAtomicallyWith(folder / SharedThumbnailName(source.uri), [&](const fs::path& temp) {
    if (::chmod(temp.c_str(), 0600) != 0) return false;
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
  });
}

}  // namespace brindle
