#include "tools/crop/crop_pane_picture.h"

namespace brindle {

bool EncodeCropPanePicture(MagickWand* wand, std::string& jpeg, std::string* error) {
  if (MagickGetImageColorspace(wand) == CMYKColorspace &&
      MagickTransformImageColorspace(wand, sRGBColorspace) == MagickFalse) {
    if (error) *error = TakeMagickError(wand);
    return false;
  }
  MagickSetImageFormat(wand, "JPEG");
  MagickSetImageCompression(wand, JPEGCompression);
  MagickSetImageCompressionQuality(wand, kCropPaneJpegQuality);
  return EncodePictureBlob(wand, jpeg, error);
}

std::optional<DecodedJpeg> ShowCropPanePicture(MagickWand* wand) {
  std::string jpeg;
  if (!EncodeCropPanePicture(wand, jpeg)) return std::nullopt;
  return DecodeJpegRgb(jpeg);
}

}  // namespace brindle
