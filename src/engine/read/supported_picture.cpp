#include "engine/read/supported_picture.h"

#include "engine/read/picture_read.h"

namespace brindle {

bool IsSupportedPicture(const std::filesystem::path& path) {
  MagickWandPtr wand = ReadPicture(path);
  return wand && !HasMovingFrames(wand.get());
}

}  // namespace brindle
