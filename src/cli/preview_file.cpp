#include <string>

#include "cli/cli.h"
#include "platform/files/file_write.h"
#include "platform/magick/magick_wand.h"
#include "tools/common/tool_target_name.h"
#include "tools/crop/crop_pane_picture.h"

namespace brindle::cli {

bool IsPreviewFileName(const std::string& name) {
  return EndsWithIgnoringCase(name, ".png") || EndsWithIgnoringCase(name, ".jpg") ||
         EndsWithIgnoringCase(name, ".jpeg");
}

bool WriteShownPicture(const std::string& display_jpeg, const std::filesystem::path& out,
                       std::string& error) {
  if (!EndsWithIgnoringCase(out.string(), ".png")) {
    return WriteFileAtomically(out, display_jpeg, &error);
  }
  MagickWandPtr wand = MakeMagickWand();
  return ReadPictureBytes(wand.get(), display_jpeg, &error) &&
         MagickSetImageFormat(wand.get(), "PNG") != MagickFalse &&
         WritePictureFile(wand.get(), out, &error);
}

bool WriteShownPixels(const Pixels8& pixels, const std::filesystem::path& out, std::string& error) {
  MagickWandPtr wand = MakeMagickWand();
  if (MagickConstituteImage(wand.get(), static_cast<std::size_t>(pixels.width),
                            static_cast<std::size_t>(pixels.height), "RGB", CharPixel,
                            pixels.samples.data()) == MagickFalse) {
    error = TakeMagickError(wand.get());
    return false;
  }
  if (EndsWithIgnoringCase(out.string(), ".png")) {
    MagickSetImageFormat(wand.get(), "PNG");
    return WritePictureFile(wand.get(), out, &error);
  }
  std::string jpeg;
  return EncodeCropPanePicture(wand.get(), jpeg, &error) && WriteFileAtomically(out, jpeg, &error);
}

}  // namespace brindle::cli
