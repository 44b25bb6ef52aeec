#include "tools/join/join_save.h"

#include "tools/common/tool_picture_steps.h"

namespace brindle {

const char* JoinExtension(ToolOutputFormat format) {
  return format == ToolOutputFormat::kPng ? ".png" : ".jpg";
}

void KeepJpegEncoderSmall(MagickWand* wand) {
  const long long pixels = static_cast<long long>(MagickGetImageWidth(wand)) *
                           static_cast<long long>(MagickGetImageHeight(wand));
  if (pixels > kOptimisedJpegPixelLimit) MagickSetOption(wand, "jpeg:optimize-coding", "false");
}

bool FlattenJoinedOntoWhite(MagickWand* joined) {
  PixelWandPtr white = MakePixelWand("#FFFFFF");
  MagickSetImageBackgroundColor(joined, white.get());
  return MagickSetImageAlphaChannel(joined, RemoveAlphaChannel) != MagickFalse;
}

bool SaveJoinedPicture(MagickWand* joined, const std::filesystem::path& target,
                       const JoinToolSettings& settings, RunMessage& failure) {
  // A transparent canvas laid over "none" stays as it is in a transparent PNG.
  const bool flatten = settings.format == ToolOutputFormat::kJpg || !settings.transparent;
  if (flatten && !FlattenJoinedOntoWhite(joined)) {
    failure = WriteFailure(TakeMagickError(joined), target);
    return false;
  }
  if (settings.format == ToolOutputFormat::kJpg) {
    KeepJpegEncoderSmall(joined);
    return WriteToolJpeg(joined, target, static_cast<std::size_t>(settings.quality), failure);
  }
  return WriteToolPng(joined, target, settings.png8, settings.png8_color_count,
                      /*max_path_bytes=*/0, failure);
}

}  // namespace brindle
