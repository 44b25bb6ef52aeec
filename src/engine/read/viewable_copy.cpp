#include "engine/read/viewable_copy.h"

#include <cstring>

#include "engine/read/picture_read.h"
#include "platform/magick/magick_wand.h"

namespace brindle {
namespace {

// The picture was read turned upright; a photo whose Exif orientation is not "normal" would be
// shown lying on its side by a viewer that reads the original file, so it gets an upright copy too.
bool StoredTurned(MagickWand* wand) {
  MagickTextPtr orientation(MagickGetImageProperty(wand, "exif:Orientation"));
  if (!orientation) return false;
  return std::strcmp(orientation.get(), "0") != 0 && std::strcmp(orientation.get(), "1") != 0;
}

void FlattenOntoWhite(MagickWand* wand) {
  PixelWandPtr white = MakePixelWand("#FFFFFF");
  MagickSetImageBackgroundColor(wand, white.get());
  MagickExtentImage(wand, MagickGetImageWidth(wand), MagickGetImageHeight(wand), 0, 0);
}

}  // namespace

std::optional<std::filesystem::path> MakeViewableCopy(const std::filesystem::path& path,
                                                      const std::filesystem::path& temp_folder,
                                                      std::string* error) {
  MagickWandPtr wand = ReadPicture(path, error);
  if (!wand) return std::nullopt;
  MagickTextPtr format_text(MagickGetImageFormat(wand.get()));
  std::string format = format_text ? format_text.get() : "";
  if (format == "PSD" || format == "TIFF") MagickResetIterator(wand.get());
  bool cmyk = MagickGetImageColorspace(wand.get()) == CMYKColorspace;

  if (format == "JPEG") {
    if (!cmyk && !StoredTurned(wand.get())) return path;
  } else {
    if (format == "BMP") MagickSetImageAlphaChannel(wand.get(), DeactivateAlphaChannel);
    if (MagickGetImageAlphaChannel(wand.get()) != MagickFalse) FlattenOntoWhite(wand.get());
  }
  if (cmyk) MagickTransformImageColorspace(wand.get(), RGBColorspace);

  MagickSetImageFormat(wand.get(), "JPEG");
  MagickSetImageCompression(wand.get(), JPEGCompression);
  MagickSetImageCompressionQuality(wand.get(), kViewableCopyQuality);
  std::filesystem::path copy = temp_folder / kViewableCopyName;
  if (!WritePictureFile(wand.get(), copy, error)) return std::nullopt;
  return copy;
}

}  // namespace brindle
