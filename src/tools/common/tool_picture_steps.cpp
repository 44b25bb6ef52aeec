#include "tools/common/tool_picture_steps.h"

#include "base/info_log.h"
#include "engine/read/picture_read.h"
#include "platform/text/text_encoding.h"
#include "png8/png8.h"

namespace brindle {

namespace fs = std::filesystem;

MagickWandPtr ReadToolPicture(const fs::path& path) {
  std::string reason;
  MagickWandPtr wand = ReadPicture(path, &reason);
  if (!wand) {
    LogInfo(FormatMessage(reason == kMovingPictureReason ? kUnsupportedFormatMessage
                                                         : "图片读取失败:\r\n%s",
                          path.c_str()));
  }
  return wand;
}

void UseFirstImage(MagickWand* wand) { MagickResetIterator(wand); }

bool FlattenOntoWhite(MagickWand* wand, const std::string& source_format, bool flatten) {
  if (source_format == "BMP") MagickSetImageAlphaChannel(wand, DeactivateAlphaChannel);
  if (!flatten || MagickGetImageAlphaChannel(wand) == MagickFalse) return true;
  PixelWandPtr white = MakePixelWand("#ffffff");
  MagickSetImageBackgroundColor(wand, white.get());
  if (MagickExtentImage(wand, MagickGetImageWidth(wand), MagickGetImageHeight(wand), 0, 0) ==
      MagickFalse) {
    return false;
  }
  if (source_format == "PNG" || source_format == "PSD") {
    MagickSetImageAlphaChannel(wand, DeactivateAlphaChannel);
  }
  return true;
}

RunMessage WriteFailure(const std::string& reason, const fs::path& target) {
  return {FormatMessage("MagickWriteImage() 发生错误：\n\n%s\n\n目标文件名：%s\n\n"
                        "请检查内存或硬盘空间是否用完。",
                        reason.c_str(), target.c_str()),
          "错误", MessageIcon::kError};
}

PictureResult StepRefused(MagickWand* wand, const fs::path& target) {
  return PictureResult::Failed(WriteFailure(TakeMagickError(wand), target));
}

bool WriteToolPicture(MagickWand* wand, const fs::path& target, RunMessage& failure) {
  std::string error;
  if (WritePictureFile(wand, target, &error)) return true;
  failure = WriteFailure(error, target);
  return false;
}

RunMessage Png8WriteFailure(const fs::path& target, std::size_t max_path_bytes) {
  std::string shown =
      max_path_bytes > 0 ? CutToGbkBytes(target.string(), max_path_bytes) : target.string();
  return {FormatMessage("保存图片时发生错误，请检查硬盘空间是否用完。\n\n目标文件名：\n%s",
                        shown.c_str()),
          "错误", MessageIcon::kError};
}

bool WriteToolJpeg(MagickWand* wand, const fs::path& target, std::size_t quality,
                   RunMessage& failure) {
  if (MagickGetImageColorspace(wand) == CMYKColorspace &&
      MagickTransformImageColorspace(wand, sRGBColorspace) == MagickFalse) {
    failure = WriteFailure(TakeMagickError(wand), target);
    return false;
  }
  MagickSetImageFormat(wand, "JPEG");
  MagickSetImageCompression(wand, JPEGCompression);
  MagickSetImageCompressionQuality(wand, quality);
  return WriteToolPicture(wand, target, failure);
}

bool WriteToolPng(MagickWand* wand, const fs::path& target, bool png8, int color_count,
                  std::size_t max_path_bytes, RunMessage& failure) {
  MagickSetImageFormat(wand, "PNG");
  if (!png8) return WriteToolPicture(wand, target, failure);
  if (WritePng8File(wand, color_count, target)) return true;
  failure = Png8WriteFailure(target, max_path_bytes);
  return false;
}

}  // namespace brindle
