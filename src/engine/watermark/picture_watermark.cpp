#include "engine/watermark/picture_watermark.h"

#include <string>

#include "base/info_log.h"
#include "engine/effects/overlay.h"
#include "engine/read/picture_read.h"

namespace brindle {
namespace {

Refusal UnusableLogo(const ProcessingOptions& options) {
  Refusal refusal;
  refusal.control = "sy_image_choose_button";
  refusal.message = FormatMessage("读取水印图片出错：\n\n%s", options.sy_image.c_str());
  refusal.caption = "错误";
  refusal.icon = MessageIcon::kError;
  return refusal;
}

// Turns the logo and lowers its opacity as the options ask; false when ImageMagick refuses.
bool DressLogo(MagickWand* logo, const ProcessingOptions& options) {
  if (options.sy_image_rotate > 0) {
    PixelWandPtr none = MakePixelWand("none");
    if (MagickRotateImage(logo, none.get(), options.sy_image_rotate) == MagickFalse) return false;
  }
  const double opacity = options.sy_image_opacity / 100.0;
  if (opacity >= 1) return true;
  if (MagickGetImageAlphaChannel(logo) == MagickTrue) {
    return MagickEvaluateImageChannel(logo, OpacityChannel, MultiplyEvaluateOperator, opacity) !=
           MagickFalse;
  }
  return MagickSetImageOpacity(logo, opacity) != MagickFalse;
}

}  // namespace

std::optional<Refusal> PrepareWatermarkPicture(const ProcessingOptions& options,
                                               MagickWandPtr& prepared) {
  prepared.reset();
  if (options.sy_image.empty()) return std::nullopt;

  MagickWandPtr logo = ReadPicture(options.sy_image);
  if (!logo) return UnusableLogo(options);
  // A layered PSD or a multi-page TIFF gives its first picture, as the pictures of a run do.
  MagickTextPtr format(MagickGetImageFormat(logo.get()));
  const std::string format_name = format ? format.get() : "";
  if (format_name == "PSD" || format_name == "TIFF") MagickResetIterator(logo.get());
  // A logo left unturned or opaque would mark every picture wrongly.
  if (!DressLogo(logo.get(), options)) return UnusableLogo(options);
  prepared = std::move(logo);
  return std::nullopt;
}

bool ApplyPictureWatermark(MagickWand* wand, const ProcessingOptions& options,
                           MagickWand* prepared) {
  if (!options.bSYImage || options.sy_image.empty() || !prepared) return true;
  return ConvertGreyToSrgb(wand) &&
         PlaceOverlay(wand, prepared, PlacementFromIndex(options.sy_image_w_direction),
                      options.sy_image_w_value, PlacementFromIndex(options.sy_image_h_direction),
                      options.sy_image_h_value, options.sy_image_tiled != 0,
                      options.sy_image_tiled_spacing);
}

}  // namespace brindle
