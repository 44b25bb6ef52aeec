#pragma once
// PNG-8 before cutting: the slice tool reduces the whole picture to one palette first, so that
// every tile shares it and the tiles fit together without seams of differing colours.

#include <filesystem>

#include "platform/magick/magick_wand.h"
#include "run/batch/run_message.h"

namespace brindle {

// Replaces the picture by its PNG-8 form (quantised to at most color_count colours, encoded and
// read back), keeping its resolution. false when that fails (a failed quantiser logs its reason to
// the InfoLog); the picture may then be gone.
bool MakePalettePicture(MagickWandPtr& picture, int color_count);

// The message that ends the run when a picture cannot be made PNG-8: "图片转换成PNG-8格式时发生
// 错误。..." with the source path.
RunMessage PalettePictureFailure(const std::filesystem::path& source);

}  // namespace brindle
