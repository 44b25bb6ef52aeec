#include "platform/magick/magick_wand.h"

#include <cstdio>

#include "platform/files/file_write.h"

namespace brindle {

std::string PictureFormat(MagickWand* wand) {
  MagickTextPtr format(MagickGetImageFormat(wand));
  return format ? std::string(format.get()) : std::string();
}

std::string TakeMagickError(MagickWand* wand) {
  ExceptionType severity = UndefinedException;
  MagickTextPtr text(MagickGetException(wand, &severity));
  MagickClearException(wand);
  return text ? std::string(text.get()) : std::string();
}

bool ReadPictureFile(MagickWand* wand, const std::filesystem::path& path, std::string* error) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) {
    if (error) *error = "cannot open file";
    return false;
  }
  return ReadPictureBytes(wand, bytes, error);
}

bool ReadPictureBytes(MagickWand* wand, const std::string& bytes, std::string* error) {
  if (bytes.empty()) {
    if (error) *error = "empty file";
    return false;
  }
  if (MagickReadImageBlob(wand, bytes.data(), bytes.size()) == MagickFalse) {
    std::string reason = TakeMagickError(wand);
    if (error) *error = reason;
    return false;
  }
  // A damaged file can "decode" into a picture that has a size but no pixels; it would only fail
  // later, when written, where a tool takes a failed write for a full disk and stops its run.
  PixelWandPtr probe = MakePixelWand();
  if (MagickGetImageWidth(wand) == 0 || MagickGetImageHeight(wand) == 0 ||
      MagickGetImagePixelColor(wand, 0, 0, probe.get()) == MagickFalse) {
    std::string reason = TakeMagickError(wand);
    if (error) *error = reason.empty() ? "no pixels" : reason;
    ClearMagickWand(wand);
    return false;
  }
  return true;
}

bool PingPictureBytes(MagickWand* wand, const std::string& bytes) {
  return !bytes.empty() && MagickPingImageBlob(wand, bytes.data(), bytes.size()) != MagickFalse;
}

bool WritePictureFile(MagickWand* wand, const std::filesystem::path& path, std::string* error) {
  // Encoded in memory first: ImageMagick's JPEG size search ("jpeg:extent") would otherwise write
  // its trial pictures into the same open file.
  std::string bytes;
  if (!EncodePictureBlob(wand, bytes, error)) return false;
  return WriteFileAtomically(path, bytes, error);
}

bool EncodePictureBlob(MagickWand* wand, std::string& bytes, std::string* error) {
  size_t length = 0;
  MagickBlobPtr blob(MagickGetImageBlob(wand, &length));
  if (!blob) {
    std::string reason = TakeMagickError(wand);
    if (error) *error = reason;
    return false;
  }
  bytes.assign(reinterpret_cast<const char*>(blob.get()), length);
  return true;
}

}  // namespace brindle
