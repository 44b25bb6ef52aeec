#include "run/effect_preview.h"

#include <cstdint>

#include "base/info_log.h"
#include "engine/picture_info.h"
#include "engine/process_picture.h"
#include "platform/file_write.h"

namespace brindle {
namespace {

void LogEncodeFailure(const std::filesystem::path& source, const std::string& reason) {
  LogInfo(FormatMessage("预览图片生成失败:\r\n%s\r\n%s", source.c_str(), reason.c_str()));
}

}  // namespace

struct EffectPreviewMaker::Kept {
  std::filesystem::path path;
  std::filesystem::file_time_type modified;
  std::uintmax_t length = 0;
  DecodedPicture picture;
};

EffectPreviewMaker::EffectPreviewMaker() = default;
EffectPreviewMaker::~EffectPreviewMaker() = default;

void EffectPreviewMaker::Forget() { kept_.reset(); }

bool EffectPreviewMaker::keeps(const std::filesystem::path& source) const {
  return kept_ && kept_->path == source;
}

std::string ResultStatusText(int width, int height, std::size_t length) {
  return "处理后图片" + FormatPictureInfo(width, height, "JPEG", static_cast<std::int64_t>(length));
}

std::optional<EffectPreview> MakeEffectPreview(const RunRecipe& recipe,
                                               const std::filesystem::path& source, int flip,
                                               int rotation) {
  return EffectPreviewMaker().Make(recipe, source, flip, rotation);
}

std::optional<EffectPreview> EffectPreviewMaker::Make(const RunRecipe& recipe,
                                                      const std::filesystem::path& source,
                                                      int flip, int rotation) {
  std::string bytes;
  if (!ReadWholeFile(source, bytes)) bytes.clear();
  const DecodePlan plan = PlanDecode(recipe.options, bytes, rotation);
  std::error_code error;
  const auto modified = std::filesystem::last_write_time(source, error);
  const std::uintmax_t length = error ? 0 : std::filesystem::file_size(source, error);
  if (error || !kept_ || kept_->path != source || kept_->modified != modified ||
      kept_->length != length || kept_->picture.plan != plan) {
    kept_.reset();
    std::optional<DecodedPicture> decoded = DecodePicture(bytes, plan, source);
    if (!decoded) return std::nullopt;
    kept_ = std::make_unique<Kept>(Kept{source, modified, length, std::move(*decoded)});
    if (error) kept_->path.clear();  // an unknown date is never taken for the same file
  }
  std::string().swap(bytes);
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
  MagickSetImageFormat(wand, "JPEG");
  if (!EncodePictureBlob(wand, preview.display_jpeg, &reason)) {
    LogEncodeFailure(source, reason);
    return std::nullopt;
  }
  preview.result_length = preview.display_jpeg.size();
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
  preview.result_status = ResultStatusText(preview.width, preview.height, preview.result_length);
  return preview;
}

}  // namespace brindle
