#include "engine/supported_picture.h"

#include <string>

#include "engine/picture_read.h"

namespace brindle {

bool IsAnimatedGif(MagickWand* wand) {
  MagickTextPtr format(MagickGetImageFormat(wand));
  return format && std::string(format.get()) == "GIF" && MagickGetNumberImages(wand) >= 2;
}

bool IsSupportedPicture(const std::filesystem::path& path) {
  MagickWandPtr wand = ReadPicture(path);
  return wand && !IsAnimatedGif(wand.get());
}

}  // namespace brindle
