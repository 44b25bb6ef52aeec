#include "tools/join_save.h"

#include "tools/tool_picture_steps.h"

namespace brindle {

const char* JoinExtension(ToolOutputFormat format) {
  return format == ToolOutputFormat::kPng ? ".png" : ".jpg";
}

void KeepJpegEncoderSmall(MagickWand* wand) {
  const long long pixels = static_cast<long long>(MagickGetImageWidth(wand)) *
                           static_cast<long long>(MagickGetImageHeight(wand));
  if (pixels > kOptimisedJpegPixelLimit) MagickSetOption(wand, "jpeg:optimize-coding", "false");
}

void FlattenJoinedOntoWhite(MagickWand* joined) {
  PixelWandPtr white = MakePixelWand("#FFFFFF");
  MagickSetImageBackgroundColor(joined, white.get());
  MagickSetImageAlphaChannel(joined, RemoveAlphaChannel);
}

bool SaveJoinedPicture(MagickWand* joined, const std::filesystem::path& target,
                       const JoinToolSettings& settings, RunMessage& failure) {
  if (settings.format == ToolOutputFormat::kJpg) {
    FlattenJoinedOntoWhite(joined);
    KeepJpegEncoderSmall(joined);
    return WriteToolJpeg(joined, target, static_cast<std::size_t>(settings.quality), failure);
  }
  // A transparent canvas laid over "none" stays as it is.
  if (!settings.transparent) FlattenJoinedOntoWhite(joined);
  return WriteToolPng(joined, target, settings.png8, settings.png8_color_count,
                      /*max_path_bytes=*/0, failure);
}

}  // namespace brindle
