#include "engine/picture_read.h"

namespace brindle {

bool AutoOrient(MagickWand* wand) {
  ssize_t current = MagickGetIteratorIndex(wand);
  MagickResetIterator(wand);
  bool upright = true;
  while (upright && MagickNextImage(wand) != MagickFalse) {
    OrientationType orientation = MagickGetImageOrientation(wand);
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
  MagickWandPtr wand = MakeMagickWand();
  if (!ReadPictureFile(wand.get(), path, error)) return nullptr;
  if (!AutoOrient(wand.get())) {
    std::string reason = TakeMagickError(wand.get());
    if (error) *error = std::move(reason);
    return nullptr;
  }
  return wand;
}

}  // namespace brindle
