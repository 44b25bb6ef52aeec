#include "engine/process/process_picture.h"

#include <memory>
#include <string>

#include "base/info_log.h"
#include "engine/effects/border.h"
#include "engine/effects/resize.h"
#include "engine/effects/resolution.h"
#include "engine/effects/tone.h"
#include "engine/read/jpeg_decode.h"
#include "engine/read/picture_read.h"
#include "engine/watermark/picture_watermark.h"
#include "engine/watermark/text_watermark.h"
#include "engine/write/colour_space.h"
#include "engine/write/jpeg_compression.h"
#include "engine/write/metadata.h"
#include "engine/write/output_encoding.h"
#include "platform/files/file_write.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

void SettleTransparency(MagickWand* wand, const std::string& format) {
  if (format == "BMP") MagickSetImageAlphaChannel(wand, DeactivateAlphaChannel);
  if (MagickGetImageAlphaChannel(wand) == MagickFalse) return;
  if (format != "PNG" && format != "PSD") {
    PixelWandPtr white = MakePixelWand("#FFFFFF");
    MagickSetImageBackgroundColor(wand, white.get());
  }
  MagickSetImageAlphaChannel(wand, format == "BMP" ? DeactivateAlphaChannel : RemoveAlphaChannel);
}

bool RotateAndFlip(MagickWand* wand, int flip, int rotation) {
  if (rotation <= 0 && flip == 0) return true;
  PixelWandPtr background = MakePixelWand();
  if (rotation > 0 && MagickRotateImage(wand, background.get(), rotation) == MagickFalse) {
    return false;
  }
  return flip == 0 || MagickFlipImage(wand) != MagickFalse;
}

// A step ImageMagick refused: the picture fails, logged with its path and ImageMagick's reason.
ProcessResult StepFailed(const fs::path& source, const std::string& reason) {
  LogInfo(FormatMessage("图片处理失败：\r\n%s\r\n原因：%s", source.c_str(), reason.c_str()));
  return {};
}

// The same, for a step whose reason is pending on the picture's wand.
ProcessResult StepFailed(MagickWand* wand, const fs::path& source) {
  return StepFailed(source, TakeMagickError(wand));
}

// The fast way in for a JPEG the recipe shrinks: decoded scaled and resampled to the planned size
// on 8-bit samples, then put into the picture ImageMagick pings from the same bytes, so that its
// properties, profiles, resolution and quality are those its own decoding gives. Null when the
// JPEG is one the fast way leaves to ImageMagick.
MagickWandPtr DecodeResizedJpeg(const std::string& bytes, const DecodePlan& plan) {
  const PictureSize upright = *plan.reduced_to;
  const PictureSize stored = plan.sideways ? PictureSize{upright.height, upright.width} : upright;
  const std::optional<Pixels8> resized =
      DecodeJpegResized(bytes, stored.width * kResampleHeadroom, stored.height * kResampleHeadroom,
                        stored.width, stored.height);
  if (!resized) return nullptr;

  MagickWandPtr ping = MakeMagickWand();
  if (!PingPictureBytes(ping.get(), bytes) || MagickGetNumberImages(ping.get()) != 1) {
    return nullptr;
  }
  const Image* pinged = GetImageFromMagickWand(ping.get());
  if (pinged == nullptr) return nullptr;
  // A pinged picture only streams; a copy of the resized size with everything else it carries gets
  // a pixel store of its own.
  const auto width = static_cast<std::size_t>(resized->width);
  const auto height = static_cast<std::size_t>(resized->height);
  ExceptionInfo* exception = AcquireExceptionInfo();
  std::unique_ptr<Image, decltype(&DestroyImage)> image(
      CloneImage(pinged, 0, 0, MagickTrue, exception), &DestroyImage);
  DestroyExceptionInfo(exception);
  if (!image) return nullptr;
  image->ping = MagickFalse;
  if (SetImageExtent(image.get(), width, height) == MagickFalse ||
      ImportImagePixels(image.get(), 0, 0, width, height, resized->channels == 1 ? "I" : "RGB",
                        CharPixel, resized->samples.data()) == MagickFalse) {
    return nullptr;
  }
  return MagickWandPtr(NewMagickWandFromImage(image.get()));
}

}  // namespace

DecodePlan PlanDecode(const ProcessingOptions& options, const std::string& bytes, int rotation) {
  // Resampling to a new resolution runs before the resize and needs every pixel.
  if (!options.bSize || (options.bDpi && options.bDpiResample)) return {};
  // Only a JPEG can be decoded smaller; its bytes start FF D8.
  if (bytes.size() < 2 || static_cast<unsigned char>(bytes[0]) != 0xFF ||
      static_cast<unsigned char>(bytes[1]) != 0xD8) {
    return {};
  }
  MagickWandPtr ping = MakeMagickWand();
  if (!PingPictureBytes(ping.get(), bytes)) return {};
  if (PictureFormat(ping.get()) != "JPEG" || MagickGetNumberImages(ping.get()) != 1) return {};

  const int stored_width = static_cast<int>(MagickGetImageWidth(ping.get()));
  const int stored_height = static_cast<int>(MagickGetImageHeight(ping.get()));
  bool sideways = TurnsSidewaysWhenUpright(MagickGetImageOrientation(ping.get()));
  if (rotation == 90 || rotation == 270) sideways = !sideways;
  PictureSize processed = sideways ? PictureSize{stored_height, stored_width}
                                   : PictureSize{stored_width, stored_height};
  std::optional<PictureSize> target = ResizeTarget(options, processed);
  if (!target || target->width > processed.width || target->height > processed.height ||
      *target == processed) {
    return {};
  }
  // The decoder shrinks by whole steps of its blocks; the Lanczos step after it is left at least a
  // factor of kResampleHeadroom, since shrinking all the way on load blurs fine detail visibly.
  const PictureSize least{target->width * kResampleHeadroom, target->height * kResampleHeadroom};
  // The hint is in the stored orientation; the decoder keeps at least this size.
  DecodePlan plan;
  plan.reduced_to = target;
  plan.sideways = sideways;
  plan.jpeg_size_hint = std::to_string(sideways ? least.height : least.width);
  plan.jpeg_size_hint.append("x").append(std::to_string(sideways ? least.width : least.height));
  return plan;
}

std::optional<DecodedPicture> DecodePicture(const std::string& bytes, const DecodePlan& plan,
                                            const fs::path& source) {
  DecodedPicture picture;
  picture.wand = MakeMagickWand();
  picture.plan = plan;
  if (plan.reduced_to) {
    if (MagickWandPtr resized = DecodeResizedJpeg(bytes, plan)) {
      picture.wand = std::move(resized);
      picture.resized = true;
    }
  }
  MagickWand* wand = picture.wand.get();
  if (!picture.resized) {
    if (!plan.jpeg_size_hint.empty()) {
      MagickSetOption(wand, "jpeg:size", plan.jpeg_size_hint.c_str());
    }
    // A moving picture of the newer formats is told from its first bytes and never decoded.
    if (IsMovingContainer(bytes)) {
      LogInfo(FormatMessage(kUnsupportedFormatMessage, source.c_str()));
      return std::nullopt;
    }
    if (bytes.empty() || !ReadPictureBytes(wand, bytes, nullptr)) {
      LogInfo(FormatMessage("图片读取失败:\r\n%s", source.c_str()));
      return std::nullopt;
    }
    NameAvifFormat(wand, bytes);
  }
  if (!AutoOrient(wand)) {
    StepFailed(wand, source);
    return std::nullopt;
  }
  // Animated GIFs and WebPs are refused; PSD and TIFF give their first picture (the merged PSD,
  // the first page), HEIF and AVIF their primary picture (the only one their reader gives).
  picture.format = PictureFormat(wand);
  if (HasMovingFrames(wand)) {
    LogInfo(FormatMessage(kUnsupportedFormatMessage, source.c_str()));
    return std::nullopt;
  }
  if (picture.format == "PSD" || picture.format == "TIFF") MagickResetIterator(wand);
  picture.resolution = ReadPictureResolution(wand);
  picture.quality = MagickGetImageCompressionQuality(wand);
  return picture;
}

std::optional<DecodedPicture> CopyDecodedPicture(const DecodedPicture& picture) {
  MagickWandPtr copy(CloneMagickWand(picture.wand.get()));
  if (!copy) return std::nullopt;
  return DecodedPicture{std::move(copy), picture.format, picture.resolution,
                        picture.quality, picture.plan,   picture.resized};
}

ProcessResult ProcessPicture(const RunRecipe& recipe, const fs::path& source,
                             const std::optional<fs::path>& target, int flip, int rotation) {
  // The file's bytes are read once and decoded from memory; they go as soon as they are decoded.
  std::string bytes;
  if (!ReadWholeFile(source, bytes)) bytes.clear();
  std::optional<DecodedPicture> picture =
      DecodePicture(bytes, PlanDecode(recipe.options, bytes, rotation), source);
  std::string().swap(bytes);
  if (!picture) return {};
  return ProcessDecodedPicture(recipe, std::move(*picture), source, target, flip, rotation);
}

ProcessResult ProcessDecodedPicture(const RunRecipe& recipe, DecodedPicture picture,
                                    const fs::path& source, const std::optional<fs::path>& target,
                                    int flip, int rotation) {
  const ProcessingOptions& options = recipe.options;
  ProcessResult result;
  MagickWandPtr wand = std::move(picture.wand);
  const std::string& format = picture.format;
  std::string reason;

  SettleTransparency(wand.get(), format);
  RemovePhotoMetadata(wand.get(), options);

  const bool source_is_jpeg = format == "JPEG";
  if (source_is_jpeg && !RecomposeJpegSource(wand, options, picture.quality, &reason)) {
    return StepFailed(source, reason);
  }
  ApplyResolution(wand.get(), options, picture.resolution);

  if (!RotateAndFlip(wand.get(), flip, rotation)) return StepFailed(wand.get(), source);
  const std::optional<PictureSize>& planned_size = picture.plan.reduced_to;
  if (options.bSize && !picture.resized &&
      !(planned_size ? ResizePicture(wand.get(), *planned_size)
                     : ApplyResize(wand.get(), options))) {
    return StepFailed(wand.get(), source);
  }

  // CMYK pictures bound for RGB are converted before the tone steps and watermarks see them.
  const bool converted_early = ColourSpaceConversionRunsEarly(options, wand.get());
  if (converted_early && !ConvertColourSpace(wand.get(), options, recipe.profiles)) {
    return StepFailed(wand.get(), source);
  }
  if (!ApplyToneAdjustments(wand.get(), options)) return StepFailed(wand.get(), source);
  ApplyCompressionSettings(wand.get(), options, source_is_jpeg);
  if (!ApplyPictureWatermark(wand.get(), options, recipe.watermark_picture.get())) {
    return StepFailed(wand.get(), source);
  }
  if (options.bSYText && recipe.text_watermark &&
      !ApplyTextWatermark(*recipe.text_watermark, wand.get(), options, &reason)) {
    return StepFailed(source, reason);
  }
  if (!ApplyBorder(wand.get(), options) || !ApplyBlackAndWhite(wand.get(), options)) {
    return StepFailed(wand.get(), source);
  }
  if (!converted_early && !ConvertColourSpace(wand.get(), options, recipe.profiles)) {
    return StepFailed(wand.get(), source);
  }

  if (MagickSetImageFormat(wand.get(), OutputMagickFormat(options.outputFormat)) == MagickFalse) {
    return StepFailed(wand.get(), source);
  }
  if (!target) {
    result.outcome = ProcessOutcome::kHandedBack;
    result.wand = std::move(wand);
    return result;
  }

  std::string bytes;
  if (!EncodeOutput(wand.get(), options, bytes, &reason) ||
      !WriteFileAtomically(*target, bytes, &reason)) {
    LogInfo(FormatMessage("图片处理后保存失败：\r\n%s\r\n源图片：%s\r\n保存到：%s", reason.c_str(),
                          source.c_str(), target->c_str()));
    return result;
  }
  result.outcome = ProcessOutcome::kWritten;
  return result;
}

}  // namespace brindle
