#include "tools/slice/slice_palette.h"

#include <string>

#include "base/info_log.h"
#include "engine/effects/resolution.h"
#include "png8/png8.h"

namespace brindle {

bool MakePalettePicture(MagickWandPtr& picture, int color_count) {
  // The PNG-8 bytes carry no resolution of their own.
  const PictureResolution resolution = ReadPictureResolution(picture.get());
  // The quantiser takes red, green and blue as they are stored; CMYK would give false colours.
  if (MagickGetImageColorspace(picture.get()) == CMYKColorspace &&
      MagickTransformImageColorspace(picture.get(), sRGBColorspace) == MagickFalse) {
    return false;
  }
  std::string bytes;
  if (!EncodePng8(picture.get(), color_count, bytes)) return false;
  // Only one picture is held at a time: the original goes before its palette form is decoded.
  picture.reset();
  MagickWandPtr palette = MakeMagickWand();
  if (!ReadPictureBytes(palette.get(), bytes, nullptr)) return false;
  MagickSetImageUnits(palette.get(), resolution.units);
  MagickSetImageResolution(palette.get(), resolution.x, resolution.y);
  picture = std::move(palette);
  return true;
}

RunMessage PalettePictureFailure(const std::filesystem::path& source) {
  return {FormatMessage("图片转换成PNG-8格式时发生错误。\n\n文件名：\n%s", source.c_str()), "错误",
          MessageIcon::kError};
}

}  // namespace brindle
