#include "engine/read/picture_classify.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "platform/files/buffered_file_reader.h"

namespace brindle {
namespace {

constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kImageSeparator = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;

constexpr std::uint8_t kPlainTextLabel = 0x01;
constexpr std::uint8_t kGraphicControlLabel = 0xF9;
constexpr std::uint8_t kCommentLabel = 0xFE;
constexpr std::uint8_t kApplicationLabel = 0xFF;

constexpr std::uint64_t kGifHeaderSize = 13;

constexpr std::uint8_t kWebpAnimationFlag = 0x02;

// Size of a colour table announced by a packed field whose top bit is set.
std::uint64_t ColourTableSize(std::uint8_t packed) { return 3ull << ((packed & 7) + 1); }

// Skips data sub-blocks up to and including the zero-length terminator.
bool SkipSubBlocks(BufferedFileReader& reader) {
  std::uint8_t length = 0;
  do {
    if (!reader.ReadByte(length) || !reader.Skip(length)) return false;
  } while (length != 0);
  return true;
}

bool SkipExtension(BufferedFileReader& reader) {
  std::uint8_t label = 0;
  if (!reader.ReadByte(label)) return false;
  switch (label) {
    case kPlainTextLabel:
      return reader.Skip(13) && SkipSubBlocks(reader);
    case kGraphicControlLabel:
      return reader.Skip(6);
    case kCommentLabel:
      return SkipSubBlocks(reader);
    case kApplicationLabel:
      return reader.Skip(12) && SkipSubBlocks(reader);
    default:
      return true;
  }
}

bool SkipImage(BufferedFileReader& reader) {
  std::uint8_t packed = 0;
  if (!reader.Skip(8) || !reader.ReadByte(packed)) return false;
  if ((packed & 0x80) && !reader.Skip(ColourTableSize(packed))) return false;
  return reader.Skip(1) && SkipSubBlocks(reader);
}

// Walks the blocks of a GIF89a. Every step consumes at least one byte and a read past the end
// fails, so the walk ends on any input.
PictureClass ClassifyGif89(BufferedFileReader& reader, const std::uint8_t* header) {
  std::uint8_t packed = header[10];
  std::uint64_t start = kGifHeaderSize + ((packed & 0x80) ? ColourTableSize(packed) : 0);
  if (!reader.Seek(start)) return PictureClass::kUnknown;
  bool image_seen = false;
  std::uint8_t block = 0;
  while (reader.ReadByte(block)) {
    switch (block) {
      case kExtensionIntroducer:
        if (!SkipExtension(reader)) return PictureClass::kUnknown;
        break;
      case kImageSeparator:
        if (image_seen) return PictureClass::kAnimatedGif;
        if (!SkipImage(reader)) return PictureClass::kUnknown;
        image_seen = true;
        break;
      case kTrailer:
        return PictureClass::kGif;
      default:
        return PictureClass::kUnknown;
    }
  }
  return PictureClass::kUnknown;
}

}  // namespace

bool IsPictureFormat(PictureClass picture_class) { return static_cast<int>(picture_class) > 0; }

bool IsMovingPicture(PictureClass picture_class) {
  return picture_class == PictureClass::kAnimatedGif ||
         picture_class == PictureClass::kAnimatedWebp ||
         picture_class == PictureClass::kHeifSequence;
}

int FailureCode(PictureClass picture_class) {
  return IsMovingPicture(picture_class) ? static_cast<int>(PictureClass::kAnimatedGif)
                                        : static_cast<int>(picture_class);
}

std::string_view PictureClassName(PictureClass picture_class) {
  switch (picture_class) {
    case PictureClass::kJpeg:
      return "JPEG";
    case PictureClass::kPng:
      return "PNG";
    case PictureClass::kGif:
      return "GIF";
    case PictureClass::kBmp:
      return "BMP";
    case PictureClass::kPsd:
      return "PSD";
    case PictureClass::kTiff:
      return "TIFF";
    case PictureClass::kHeif:
      return "HEIF";
    case PictureClass::kAvif:
      return "AVIF";
    case PictureClass::kWebp:
      return "WEBP";
    default:
      return {};
  }
}

PictureClass ClassifySignature(std::uint8_t first, std::uint8_t second) {
  if (first == 'B' && second == 'M') return PictureClass::kBmp;
  if (first == 0xFF && second == 0xD8) return PictureClass::kJpeg;
  if (first == 'G' && second == 'I') return PictureClass::kGif;
  if (first == 0x89 && second == 0x50) return PictureClass::kPng;
  if (first == 'I' && second == 'I') return PictureClass::kTiff;
  if (first == 'M' && second == 'M') return PictureClass::kTiff;
  if (first == '8' && second == 'B') return PictureClass::kPsd;
  return PictureClass::kUnknown;
}

PictureClass ClassifyContainer(const std::uint8_t* head, std::size_t length) {
  auto at = [&](std::size_t offset, const char* tag) {
    return offset + 4 <= length && std::memcmp(head + offset, tag, 4) == 0;
  };
  if (at(0, "RIFF") && at(8, "WEBP")) {
    // The extended header's flags byte has bit 1 set for an animation.
    if (at(12, "VP8X") && length > 20 && (head[20] & kWebpAnimationFlag) != 0) {
      return PictureClass::kAnimatedWebp;
    }
    return PictureClass::kWebp;
  }
  if (!at(4, "ftyp")) return PictureClass::kUnknown;
  const std::size_t box_size = (std::size_t(head[0]) << 24) | (std::size_t(head[1]) << 16) |
                               (std::size_t(head[2]) << 8) | head[3];
  const std::size_t brands_end = std::min(box_size, length);
  auto is_brand = [&](std::size_t offset, std::initializer_list<const char*> brands) {
    return std::any_of(brands.begin(), brands.end(),
                       [&](const char* brand) { return at(offset, brand); });
  };
  auto compatible = [&](std::initializer_list<const char*> brands) {
    for (std::size_t offset = 16; offset + 4 <= brands_end; offset += 4) {
      if (is_brand(offset, brands)) return true;
    }
    return false;
  };
  // The major brand says what a reader shows first: a sequence brand means a moving picture even
  // where a still one is listed beside it.
  if (is_brand(8, {"msf1", "hevc", "hevx", "hevs", "avis"})) return PictureClass::kHeifSequence;
  if (at(8, "avif")) return PictureClass::kAvif;
  if (is_brand(8, {"mif1", "mif2", "miaf"})) {
    if (compatible({"avif"})) return PictureClass::kAvif;
    if (compatible({"heic", "heix", "heim", "heis", "mif1"})) return PictureClass::kHeif;
    return PictureClass::kUnknown;
  }
  if (is_brand(8, {"heic", "heix", "heim", "heis"})) return PictureClass::kHeif;
  return PictureClass::kUnknown;
}

PictureClass ClassifyPictureFile(const std::filesystem::path& path) {
  BufferedFileReader reader(path);
  if (!reader.is_open()) return PictureClass::kCannotOpen;
  std::uint8_t header[kClassifyHeadBytes] = {};
  std::size_t length = reader.ReadSome(header, sizeof header);
  if (length < 2) return PictureClass::kUnknown;
  PictureClass signature = ClassifySignature(header[0], header[1]);
  if (signature == PictureClass::kUnknown) return ClassifyContainer(header, length);
  if (signature != PictureClass::kGif) return signature;
  if (length >= 6 && std::memcmp(header + 3, "87a", 3) == 0) return PictureClass::kGif;
  if (length < kGifHeaderSize) return PictureClass::kUnknown;
  return ClassifyGif89(reader, header);
}

}  // namespace brindle
