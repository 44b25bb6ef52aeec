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
  std::string reason;
  bool ok = WriteFileAtomicallyWith(
      path,
      [&](const std::filesystem::path& temp) {
        FilePtr file(std::fopen(temp.c_str(), "wb"));
        if (!file) {
          reason = "cannot open file";
          return false;
        }
        if (MagickWriteImageFile(wand, file.get()) == MagickFalse) {
          reason = TakeMagickError(wand);
          return false;
        }
        std::FILE* raw = file.release();
        if (std::fflush(raw) != 0 || std::ferror(raw)) {
          std::fclose(raw);
          reason = "write failed";
          return false;
        }
        return std::fclose(raw) == 0;
      },
      &reason);
  if (!ok && error) *error = reason;
  return ok;
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
