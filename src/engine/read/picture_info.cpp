#include "engine/read/picture_info.h"

#include <climits>
#include <cstdlib>
#include <cstring>

#include "base/info_log.h"
#include "base/number_text.h"
#include "engine/read/heif_header.h"
#include "engine/read/picture_classify.h"
#include "engine/read/picture_read.h"
#include "platform/files/buffered_file_reader.h"

namespace brindle {
namespace {

// Enough for every header read here and for telling the newer container formats apart.
constexpr std::size_t kHeaderBytes = kClassifyHeadBytes;

// Old OS/2 bitmaps keep 16-bit sides at offsets 18 and 20; read as the newer 32-bit fields they
// give sides no real picture has.
constexpr std::int64_t kBmpSideLimit = 100000;

constexpr int kTiffTagWidth = 256;
constexpr int kTiffTagHeight = 257;
constexpr int kTiffTypeLong = 4;

std::uint32_t Big16(const std::uint8_t* p) { return (p[0] << 8) | p[1]; }
std::uint32_t Little16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
std::uint32_t Big32(const std::uint8_t* p) {
  return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
         p[3];
}
std::uint32_t Little32(const std::uint8_t* p) {
  return p[0] | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
         (std::uint32_t(p[3]) << 24);
}

struct Sides {
  std::int64_t width = 0;
  std::int64_t height = 0;
};

// Walks the JPEG segments from offset 2 to the first baseline or progressive frame header (C0, C2).
// Each segment moves the walk at least four bytes on, and a read past the end fails it.
std::optional<Sides> JpegSides(BufferedFileReader& reader) {
  if (!reader.Seek(2)) return std::nullopt;
  std::uint8_t segment[4];
  while (reader.Read(segment, sizeof segment)) {
    if (segment[0] != 0xFF) return std::nullopt;
    std::uint8_t marker = segment[1];
    std::uint32_t length = Big16(segment + 2);
    if ((marker & 0xFD) == 0xC0) {
      std::uint8_t frame[5];
      if (!reader.Read(frame, sizeof frame)) return std::nullopt;
      return Sides{Big16(frame + 3), Big16(frame + 1)};
    }
    if (length < 2 || !reader.Skip(length - 2)) return std::nullopt;
  }
  return std::nullopt;
}

// Reads the first directory for the width and height tags. A LONG value is read whole (its first 16
// bits are its high half in a big-endian file); any other type gives its first 16 bits.
std::optional<Sides> TiffSides(BufferedFileReader& reader, const std::uint8_t* header) {
  bool little = header[0] == 'I';
  auto u16 = [little](const std::uint8_t* p) { return little ? Little16(p) : Big16(p); };
  auto u32 = [little](const std::uint8_t* p) { return little ? Little32(p) : Big32(p); };
  std::uint8_t count_bytes[2];
  if (!reader.Seek(u32(header + 4)) || !reader.Read(count_bytes, 2)) return std::nullopt;
  std::uint32_t count = u16(count_bytes);
  Sides sides;
  bool width_seen = false;
  bool height_seen = false;
  for (std::uint32_t i = 0; i < count && !(width_seen && height_seen); ++i) {
    std::uint8_t entry[12];
    if (!reader.Read(entry, sizeof entry)) return std::nullopt;
    std::uint32_t tag = u16(entry);
    std::uint32_t type = u16(entry + 2);
    std::int64_t value = type == kTiffTypeLong ? u32(entry + 8) : u16(entry + 8);
    if (tag == kTiffTagWidth) {
      sides.width = value;
      width_seen = true;
    } else if (tag == kTiffTagHeight) {
      sides.height = value;
      height_seen = true;
    }
  }
  return sides;
}

// The canvas of a WebP from its first chunk: the lossy frame header, the lossless bit-packed sides,
// or the extended header's 24-bit sides less one.
std::optional<Sides> WebpSides(const std::uint8_t* header, std::size_t length) {
  if (length < 30) return std::nullopt;
  const std::uint8_t* chunk = header + 12;
  const std::uint8_t* data = header + 20;
  if (std::memcmp(chunk, "VP8 ", 4) == 0) {
    if (data[3] != 0x9D || data[4] != 0x01 || data[5] != 0x2A) return std::nullopt;
    return Sides{Little16(data + 6) & 0x3FFF, Little16(data + 8) & 0x3FFF};
  }
  if (std::memcmp(chunk, "VP8L", 4) == 0) {
    if (data[0] != 0x2F) return std::nullopt;
    const std::uint32_t bits = Little32(data + 1);
    return Sides{(bits & 0x3FFF) + 1, ((bits >> 14) & 0x3FFF) + 1};
  }
  if (std::memcmp(chunk, "VP8X", 4) == 0) {
    auto little24 = [](const std::uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16); };
    return Sides{little24(data + 4) + 1, little24(data + 7) + 1};
  }
  return std::nullopt;
}

std::int64_t BmpSide(std::uint32_t field) {
  return std::llabs(static_cast<std::int64_t>(static_cast<std::int32_t>(field)));
}

}  // namespace

std::optional<PictureHeader> ReadPictureHeader(const std::filesystem::path& path) {
  BufferedFileReader reader(path);
  if (!reader.is_open()) return std::nullopt;
  std::uint8_t header[kHeaderBytes] = {};
  std::size_t length = reader.ReadSome(header, sizeof header);
  if (length < 2) return std::nullopt;
  // Whether the first bytes reach up to (not including) the given offset.
  auto has = [length](std::size_t end) { return length >= end; };

  PictureClass picture_class = ClassifySignature(header[0], header[1]);
  if (picture_class == PictureClass::kUnknown) picture_class = ClassifyContainer(header, length);
  std::optional<Sides> sides;
  std::int64_t size = static_cast<std::int64_t>(reader.size());
  switch (picture_class) {
    case PictureClass::kJpeg:
      sides = JpegSides(reader);
      break;
    case PictureClass::kGif:
      if (has(10)) sides = Sides{Little16(header + 6), Little16(header + 8)};
      break;
    case PictureClass::kPng:
      if (has(24)) sides = Sides{Big32(header + 16), Big32(header + 20)};
      break;
    case PictureClass::kPsd:
      if (has(22)) sides = Sides{Big32(header + 18), Big32(header + 14)};
      break;
    case PictureClass::kTiff:
      if (has(8)) sides = TiffSides(reader, header);
      break;
    case PictureClass::kBmp:
      if (has(26)) {
        sides = Sides{BmpSide(Little32(header + 18)), BmpSide(Little32(header + 22))};
        if (sides->width > kBmpSideLimit || sides->height > kBmpSideLimit) {
          sides = Sides{Little16(header + 18), Little16(header + 20)};
        }
        size = Little32(header + 2);
      }
      break;
    case PictureClass::kAnimatedWebp:
      // Described by its canvas, as an animated GIF is by its screen.
      picture_class = PictureClass::kWebp;
      sides = WebpSides(header, length);
      break;
    case PictureClass::kWebp:
      sides = WebpSides(header, length);
      break;
    case PictureClass::kHeif:
    case PictureClass::kAvif:
      if (std::optional<HeifSides> heif = ReadHeifSides(reader)) {
        sides = Sides{heif->width, heif->height};
      }
      break;
    default:
      break;
  }
  if (!sides || sides->width <= 0 || sides->height <= 0 || size <= 0) return std::nullopt;
  if (sides->width > INT_MAX || sides->height > INT_MAX) return std::nullopt;
  return PictureHeader{static_cast<int>(sides->width), static_cast<int>(sides->height),
                       std::string(PictureClassName(picture_class)), size};
}

std::string FormatPictureInfo(int width, int height, const std::string& type, std::int64_t size) {
  if (size < 1024) {
    return FormatMessage("尺寸: %d x %d, 类型: %s 图片, 大小: %lld 字节", width, height,
                         type.c_str(), static_cast<long long>(size));
  }
  if (size < 1048576) {
    return FormatMessage("尺寸: %d x %d, 类型: %s 图片, 大小: %s KB", width, height, type.c_str(),
                         FixedText(static_cast<double>(size) / 1024, 1).c_str());
  }
  return FormatMessage("尺寸: %d x %d, 类型: %s 图片, 大小: %s MB", width, height, type.c_str(),
                       FixedText(static_cast<double>(size) / 1024 / 1024, 1).c_str());
}

PictureInfo PictureInfoLine(const std::filesystem::path& path) {
  if (std::optional<PictureHeader> header = ReadPictureHeader(path)) {
    return {FormatPictureInfo(header->width, header->height, header->type, header->size), true};
  }
  // What cannot be opened as a regular file is not handed to the decoder either: a pipe would keep
  // it waiting.
  if (!BufferedFileReader(path).is_open()) return {kInvalidPictureText, false};
  MagickWandPtr wand = ReadPicture(path);
  if (!wand) return {kInvalidPictureText, false};
  MagickSizeType size = 0;
  MagickGetImageLength(wand.get(), &size);
  MagickTextPtr format(MagickGetImageFormat(wand.get()));
  std::string type = format ? format.get() : "";
  if (type == "PSD" || type == "TIFF") MagickResetIterator(wand.get());
  return {FormatPictureInfo(static_cast<int>(MagickGetImageWidth(wand.get())),
                            static_cast<int>(MagickGetImageHeight(wand.get())), type,
                            static_cast<std::int64_t>(size)),
          false};
}

}  // namespace brindle
