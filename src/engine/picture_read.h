#pragma once
// Reading a picture for any part of the program: through an explicitly opened file (no file name is
// ever interpreted by ImageMagick), then turned upright when its Exif orientation says it is shown
// turned or mirrored, with the orientation reset to normal, so every later step sees what the user
// sees.

#include <filesystem>
#include <string>

#include "platform/magick_wand.h"

namespace brindle {

// The picture with all its frames, or null with ImageMagick's reason in error (also when it refuses
// to turn the picture upright).
MagickWandPtr ReadPicture(const std::filesystem::path& path, std::string* error = nullptr);

// Turns every frame of the wand upright by its orientation and resets the orientation to top-left.
// false when ImageMagick refuses; its reason stays on the wand.
bool AutoOrient(MagickWand* wand);

// True for the orientations that exchange width and height when the picture is turned upright.
bool TurnsSidewaysWhenUpright(OrientationType orientation);

}  // namespace brindle
