#include "engine/picture_read.h"

namespace brindle {

void AutoOrient(MagickWand* wand) {
  ssize_t current = MagickGetIteratorIndex(wand);
  MagickResetIterator(wand);
  while (MagickNextImage(wand) != MagickFalse) {
    OrientationType orientation = MagickGetImageOrientation(wand);
    if (orientation != UndefinedOrientation && orientation != TopLeftOrientation) {
      MagickAutoOrientImage(wand);
      MagickSetImageOrientation(wand, TopLeftOrientation);
    }
  }
  MagickSetIteratorIndex(wand, current);
}

bool TurnsSidewaysWhenUpright(OrientationType orientation) {
  return orientation == LeftTopOrientation || orientation == RightTopOrientation ||
         orientation == RightBottomOrientation || orientation == LeftBottomOrientation;
}

MagickWandPtr ReadPicture(const std::filesystem::path& path, std::string* error) {
  MagickWandPtr wand = MakeMagickWand();
  if (!ReadPictureFile(wand.get(), path, error)) return nullptr;
  AutoOrient(wand.get());
  return wand;
}

}  // namespace brindle
