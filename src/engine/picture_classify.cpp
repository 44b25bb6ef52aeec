#include "engine/picture_classify.h"

#include <cstring>

#include "platform/buffered_file_reader.h"

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

PictureClass ClassifyPictureFile(const std::filesystem::path& path) {
  BufferedFileReader reader(path);
  if (!reader.is_open()) return PictureClass::kCannotOpen;
  std::uint8_t header[15] = {};
  std::size_t length = reader.ReadSome(header, sizeof header);
  if (length < 2) return PictureClass::kUnknown;
  PictureClass signature = ClassifySignature(header[0], header[1]);
  if (signature != PictureClass::kGif) return signature;
  if (length >= 6 && std::memcmp(header + 3, "87a", 3) == 0) return PictureClass::kGif;
  if (length < kGifHeaderSize) return PictureClass::kUnknown;
  return ClassifyGif89(reader, header);
}

}  // namespace brindle
