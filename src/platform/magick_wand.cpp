#include "platform/magick_wand.h"

#include <cstdio>

#include "platform/file_write.h"

namespace brindle {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const {
    if (file) std::fclose(file);
  }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

std::string TakeMagickError(MagickWand* wand) {
  ExceptionType severity = UndefinedException;
  MagickTextPtr text(MagickGetException(wand, &severity));
  MagickClearException(wand);
  return text ? std::string(text.get()) : std::string();
}

bool ReadPictureFile(MagickWand* wand, const std::filesystem::path& path, std::string* error) {
  FilePtr file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    if (error) *error = "cannot open file";
    return false;
  }
  if (MagickReadImageFile(wand, file.get()) == MagickFalse) {
    std::string reason = TakeMagickError(wand);
    if (error) *error = reason;
    return false;
  }
  return true;
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
