#include "engine/read/picture_read.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "engine/read/picture_classify.h"
#include "platform/files/file_write.h"

namespace brindle {
namespace {

constexpr std::uint16_t kOrientationTag = 0x0112;

OrientationType WebpOrientation(MagickWand* wand) {
  size_t length = 0;
  MagickBlobPtr exif(MagickGetImageProfile(wand, "exif", &length));
  return exif ? ExifOrientation(exif.get(), length) : UndefinedOrientation;
}

}  // namespace

OrientationType ExifOrientation(const unsigned char* exif, std::size_t length) {
  if (length >= 6 && std::memcmp(exif, "Exif\0\0", 6) == 0) {
    exif += 6;
    length -= 6;
  }
  if (length < 8) return UndefinedOrientation;
  const bool little = exif[0] == 'I' && exif[1] == 'I';
  if (!little && !(exif[0] == 'M' && exif[1] == 'M')) return UndefinedOrientation;
  auto u16 = [&](std::size_t at) -> std::uint32_t {
    return little ? exif[at] | (exif[at + 1] << 8) : (exif[at] << 8) | exif[at + 1];
  };
  auto u32 = [&](std::size_t at) -> std::uint32_t {
    return little ? u16(at) | (u16(at + 2) << 16) : (u16(at) << 16) | u16(at + 2);
  };
  const std::size_t directory = u32(4);
  if (directory > length - 2) return UndefinedOrientation;
  const std::size_t count = u16(directory);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t entry = directory + 2 + i * 12;
    if (entry + 12 > length) break;
    if (u16(entry) != kOrientationTag) continue;
    const std::uint32_t value = u16(entry + 8);
    return value >= 1 && value <= 8 ? static_cast<OrientationType>(value) : UndefinedOrientation;
  }
  return UndefinedOrientation;
}

OrientationType WebpExifOrientation(const std::string& bytes) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t at = 12;  // after "RIFF", the length and "WEBP"
  while (bytes.size() >= 8 && at <= bytes.size() - 8) {
    const std::size_t length = data[at + 4] | (data[at + 5] << 8) | (data[at + 6] << 16) |
                               (std::size_t(data[at + 7]) << 24);
    if (length > bytes.size() - at - 8) break;
    if (std::memcmp(data + at, "EXIF", 4) == 0) return ExifOrientation(data + at + 8, length);
    at += 8 + length + (length & 1);
  }
  return UndefinedOrientation;
}

bool IsMovingContainer(const std::string& bytes) {
  const PictureClass container =
      ClassifyContainer(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                        std::min(bytes.size(), kClassifyHeadBytes));
  return container == PictureClass::kAnimatedWebp || container == PictureClass::kHeifSequence;
}

void NameAvifFormat(MagickWand* wand, const std::string& bytes) {
  const PictureClass container =
      ClassifyContainer(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                        std::min(bytes.size(), kClassifyHeadBytes));
  if (container == PictureClass::kAvif) MagickSetImageFormat(wand, "AVIF");
}

bool HasMovingFrames(MagickWand* wand) {
  const std::string format = PictureFormat(wand);
  return (format == "GIF" || format == "WEBP") && MagickGetNumberImages(wand) >= 2;
}

bool AutoOrient(MagickWand* wand) {
  ssize_t current = MagickGetIteratorIndex(wand);
  const bool webp = PictureFormat(wand) == "WEBP";
  MagickResetIterator(wand);
  bool upright = true;
  while (upright && MagickNextImage(wand) != MagickFalse) {
    OrientationType orientation = MagickGetImageOrientation(wand);
    if (webp && orientation == UndefinedOrientation) {
      orientation = WebpOrientation(wand);
      MagickSetImageOrientation(wand, orientation);
    }
    if (orientation != UndefinedOrientation && orientation != TopLeftOrientation) {
      upright = MagickAutoOrientImage(wand) != MagickFalse;
      if (upright) MagickSetImageOrientation(wand, TopLeftOrientation);
    }
  }
  MagickSetIteratorIndex(wand, current);
  return upright;
}

bool TurnsSidewaysWhenUpright(OrientationType orientation) {
  return orientation == LeftTopOrientation || orientation == RightTopOrientation ||
         orientation == RightBottomOrientation || orientation == LeftBottomOrientation;
}

MagickWandPtr ReadPicture(const std::filesystem::path& path, std::string* error) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) {
    if (error) *error = "cannot open file";
    return nullptr;
  }
  if (IsMovingContainer(bytes)) {
    if (error) *error = kMovingPictureReason;
    return nullptr;
  }
  MagickWandPtr wand = MakeMagickWand();
  if (!ReadPictureBytes(wand.get(), bytes, error)) return nullptr;
  NameAvifFormat(wand.get(), bytes);
  std::string().swap(bytes);
  if (!AutoOrient(wand.get())) {
    std::string reason = TakeMagickError(wand.get());
    if (error) *error = std::move(reason);
    return nullptr;
  }
  return wand;
}

}  // namespace brindle
