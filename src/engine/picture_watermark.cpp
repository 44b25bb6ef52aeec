#include "engine/picture_watermark.h"

#include <string>

#include "base/info_log.h"
#include "engine/overlay.h"
#include "engine/picture_read.h"

namespace brindle {

std::optional<Refusal> PrepareWatermarkPicture(const ProcessingOptions& options,
                                               MagickWandPtr& prepared) {
  prepared.reset();
  if (options.sy_image.empty()) return std::nullopt;

  MagickWandPtr logo = ReadPicture(options.sy_image);
  if (!logo) {
    Refusal refusal;
    refusal.control = "sy_image_choose_button";
    refusal.message = FormatMessage("读取水印图片出错：\n\n%s", options.sy_image.c_str());
    refusal.caption = "错误";
    refusal.icon = MessageIcon::kError;
    return refusal;
  }
  // A layered PSD or a multi-page TIFF gives its first picture, as the pictures of a run do.
  MagickTextPtr format(MagickGetImageFormat(logo.get()));
  const std::string format_name = format ? format.get() : "";
  if (format_name == "PSD" || format_name == "TIFF") MagickResetIterator(logo.get());

  if (options.sy_image_rotate > 0) {
    PixelWandPtr none = MakePixelWand("none");
    MagickRotateImage(logo.get(), none.get(), options.sy_image_rotate);
  }
  const double opacity = options.sy_image_opacity / 100.0;
  if (opacity < 1) {
    if (MagickGetImageAlphaChannel(logo.get()) == MagickTrue) {
      MagickEvaluateImageChannel(logo.get(), OpacityChannel, MultiplyEvaluateOperator, opacity);
    } else {
      MagickSetImageOpacity(logo.get(), opacity);
    }
  }
  prepared = std::move(logo);
  return std::nullopt;
}

void ApplyPictureWatermark(MagickWand* wand, const ProcessingOptions& options,
                           MagickWand* prepared) {
  if (!options.bSYImage || options.sy_image.empty() || !prepared) return;
  ConvertGreyToSrgb(wand);
  PlaceOverlay(wand, prepared, PlacementFromIndex(options.sy_image_w_direction),
               options.sy_image_w_value, PlacementFromIndex(options.sy_image_h_direction),
               options.sy_image_h_value, options.sy_image_tiled != 0,
               options.sy_image_tiled_spacing);
}

}  // namespace brindle
