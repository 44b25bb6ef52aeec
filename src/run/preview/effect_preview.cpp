#include "run/preview/effect_preview.h"

#include <cstdint>

#include "base/info_log.h"
#include "engine/process/process_picture.h"
#include "engine/read/picture_info.h"
#include "engine/write/output_encoding.h"
#include "platform/files/file_stamp.h"
#include "platform/files/file_write.h"

namespace brindle {
namespace {

// A WebP or AVIF result is shown through a JPEG that adds no visible loss of its own.
constexpr std::size_t kShownQuality = 95;

void LogEncodeFailure(const std::filesystem::path& source, const std::string& reason) {
  LogInfo(FormatMessage("预览图片生成失败:\r\n%s\r\n%s", source.c_str(), reason.c_str()));
}

}  // namespace

struct EffectPreviewMaker::Kept {
  FileStamp stamp;
  std::string bytes;  // the file as read, to plan another decode without reading it again
  DecodedPicture picture;
};

EffectPreviewMaker::EffectPreviewMaker() = default;
EffectPreviewMaker::~EffectPreviewMaker() = default;

void EffectPreviewMaker::Forget() { kept_.reset(); }

bool EffectPreviewMaker::keeps(const std::filesystem::path& source) const {
  return kept_ && kept_->stamp.path == source;
}

std::string ResultStatusText(int width, int height, std::size_t length, const char* type) {
  return "处理后图片" + FormatPictureInfo(width, height, type, static_cast<std::int64_t>(length));
}

std::optional<EffectPreview> MakeEffectPreview(const RunRecipe& recipe,
                                               const std::filesystem::path& source, int flip,
                                               int rotation) {
  return EffectPreviewMaker().Make(recipe, source, flip, rotation);
}

std::optional<EffectPreview> EffectPreviewMaker::Make(const RunRecipe& recipe,
                                                      const std::filesystem::path& source, int flip,
                                                      int rotation) {
  const std::optional<FileStamp> stamp = StampOf(source);
  if (!stamp || !kept_ || kept_->stamp != *stamp) {
    kept_.reset();
    std::string bytes;
    if (!ReadWholeFile(source, bytes)) bytes.clear();
    std::optional<DecodedPicture> decoded =
        DecodePicture(bytes, PlanDecode(recipe.options, bytes, rotation), source);
    if (!decoded) return std::nullopt;
    kept_ = std::make_unique<Kept>(
        Kept{stamp.value_or(FileStamp{}), std::move(bytes), std::move(*decoded)});
  } else if (const DecodePlan plan = PlanDecode(recipe.options, kept_->bytes, rotation);
             plan != kept_->picture.plan) {
    // The same file decoded another way (another reduced size) for this recipe.
    std::optional<DecodedPicture> decoded = DecodePicture(kept_->bytes, plan, source);
    if (!decoded) {
      kept_.reset();
      return std::nullopt;
    }
    kept_->picture = std::move(*decoded);
  }
  std::optional<DecodedPicture> copy = CopyDecodedPicture(kept_->picture);
  if (!copy) return std::nullopt;
  ProcessResult processed =
      ProcessDecodedPicture(recipe, std::move(*copy), source, std::nullopt, flip, rotation);
  if (processed.outcome != ProcessOutcome::kHandedBack || !processed.wand) return std::nullopt;
  MagickWand* wand = processed.wand.get();

  EffectPreview preview;
  std::string reason;
  // The compression the pipeline left on the picture (quality or target size) applies here, so the
  // length is the saved file's.
  const OutputFormat format = recipe.options.outputFormat;
  if (!EncodeOutput(wand, recipe.options, preview.display_jpeg, &reason)) {
    LogEncodeFailure(source, reason);
    return std::nullopt;
  }
  preview.result_length = preview.display_jpeg.size();
  if (format != OutputFormat::kJpg) {
    MagickWandPtr saved = MakeMagickWand();
    if (!ReadPictureBytes(saved.get(), preview.display_jpeg, &reason)) {
      LogEncodeFailure(source, reason);
      return std::nullopt;
    }
    processed.wand = std::move(saved);
    wand = processed.wand.get();
    MagickSetImageFormat(wand, "JPEG");
    MagickSetImageCompressionQuality(wand, kShownQuality);
    if (!EncodePictureBlob(wand, preview.display_jpeg, &reason)) {
      LogEncodeFailure(source, reason);
      return std::nullopt;
    }
  }
  if (MagickGetImageColorspace(wand) == CMYKColorspace) {
    if (MagickTransformImageColorspace(wand, RGBColorspace) == MagickFalse) {
      LogEncodeFailure(source, TakeMagickError(wand));
      return std::nullopt;
    }
    if (!EncodePictureBlob(wand, preview.display_jpeg, &reason)) {
      LogEncodeFailure(source, reason);
      return std::nullopt;
    }
  }
  preview.width = static_cast<int>(MagickGetImageWidth(wand));
  preview.height = static_cast<int>(MagickGetImageHeight(wand));

  PictureInfo info = PictureInfoLine(source);
  if (!info.header_recognised) {
    LogInfo(FormatMessage(kUnrecognisedPictureMessage, source.c_str()));
  }
  preview.source_status = "原图" + info.text;
  preview.result_status =
      ResultStatusText(preview.width, preview.height, preview.result_length,
                       format == OutputFormat::kJpg ? "JPEG" : OutputMagickFormat(format));
  return preview;
}

}  // namespace brindle
