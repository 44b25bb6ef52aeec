#include "engine/write/jpeg_compression.h"

#include <string>

#include "engine/write/output_encoding.h"

namespace brindle {
namespace {

// The fresh canvas would otherwise drop the source's colour profile (turning an Adobe RGB photo's
// colours wrong) and whatever metadata the user chose to keep, the comment among it.
void CopyProfilesAndResolution(MagickWand* from, MagickWand* to) {
  size_t count = 0;
  char** names = MagickGetImageProfiles(from, "*", &count);
  for (size_t i = 0; names && i < count; ++i) {
    size_t length = 0;
    MagickBlobPtr profile(MagickGetImageProfile(from, names[i], &length));
    if (profile && length > 0) MagickSetImageProfile(to, names[i], profile.get(), length);
    MagickRelinquishMemory(names[i]);
  }
  MagickRelinquishMemory(names);
  MagickTextPtr comment(MagickGetImageProperty(from, "comment"));
  if (comment) MagickSetImageProperty(to, "comment", comment.get());
  double x_resolution = 0;
  double y_resolution = 0;
  MagickGetImageResolution(from, &x_resolution, &y_resolution);
  MagickSetImageResolution(to, x_resolution, y_resolution);
  MagickSetImageUnits(to, MagickGetImageUnits(from));
}

// The canvas holds ImageMagick's reason when it refused to be made or composed onto.
bool Refused(MagickWand* canvas, std::string* error) {
  std::string reason = TakeMagickError(canvas);
  if (error) *error = std::move(reason);
  return false;
}

bool Recompose(MagickWandPtr& wand, std::size_t quality, std::string* error) {
  ColorspaceType colorspace = MagickGetImageColorspace(wand.get());
  size_t width = MagickGetImageWidth(wand.get());
  size_t height = MagickGetImageHeight(wand.get());
  MagickWandPtr canvas = MakeMagickWand();
  PixelWandPtr none = MakePixelWand("none");
  if (MagickNewImage(canvas.get(), width, height, none.get()) == MagickFalse) {
    return Refused(canvas.get(), error);
  }
  MagickSetImageColorspace(canvas.get(), colorspace);
  CopyProfilesAndResolution(wand.get(), canvas.get());
  if (MagickCompositeImage(canvas.get(), wand.get(), OverCompositeOp, 0, 0) == MagickFalse) {
    return Refused(canvas.get(), error);
  }
  wand = std::move(canvas);
  MagickSetImageCompression(wand.get(), JPEGCompression);
  MagickSetImageCompressionQuality(wand.get(), quality);
  return true;
}

}  // namespace

bool RecomposeJpegSource(MagickWandPtr& wand, const ProcessingOptions& options,
                         std::size_t source_quality, std::string* error) {
  const bool high_source = source_quality > 89;
  if (options.bSYText && (!options.bQuanlity || options.quanlity > 89)) {
    return Recompose(wand, high_source ? source_quality : kRecomposeQuality, error);
  }
  if (options.bSYImage) return high_source || Recompose(wand, kRecomposeQuality, error);
  return !options.bBorder || high_source || Recompose(wand, kRecomposeQuality, error);
}

void ApplyCompressionSettings(MagickWand* wand, const ProcessingOptions& options,
                              bool source_is_jpeg) {
  if (options.outputFormat != OutputFormat::kJpg) {
    // WebP and AVIF: the fixed quality, or the one a JPEG source was saved with, or the non-JPEG
    // fall-back; a target size is searched when the file is encoded.
    std::size_t quality = kNonJpegSourceQuality;
    if (options.bQuanlity && options.qualityMode == QualityMode::kFixedQuality) {
      quality = static_cast<std::size_t>(options.quanlity);
    } else if (source_is_jpeg && MagickGetImageCompressionQuality(wand) > 0) {
      quality = MagickGetImageCompressionQuality(wand);
    }
    SetEncoderQuality(wand, quality);
    return;
  }
  if (options.bQuanlity && options.qualityMode == QualityMode::kFixedQuality) {
    MagickSetImageCompression(wand, JPEGCompression);
    MagickSetImageCompressionQuality(wand, static_cast<std::size_t>(options.quanlity));
    return;
  }
  if (options.bQuanlity && options.qualityMode == QualityMode::kMaxFileSize &&
      options.maxFileSize >= 1 && options.maxFileSize <= 999998) {
    std::string extent = std::to_string(options.maxFileSize) + "kb";
    MagickSetOption(wand, "jpeg:extent", extent.c_str());
    return;
  }
  if (source_is_jpeg) {
    MagickSetImageCompression(wand, NoCompression);
  } else {
    MagickSetImageCompression(wand, JPEGCompression);
    MagickSetImageCompressionQuality(wand, kNonJpegSourceQuality);
  }
}

}  // namespace brindle
