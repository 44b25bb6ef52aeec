#pragma once
// The steps the tools share on one picture: reading (with the log line of an unreadable picture),
// the source format, the first image of a multi-image source, flattening onto white, and the
// writes with the messages of a failed write.

#include <filesystem>
#include <string>

#include "platform/magick/magick_wand.h"
#include "run/batch/run_job.h"
#include "run/batch/run_message.h"

namespace brindle {

// Reads a picture upright; when it cannot be read, "图片读取失败:\r\n%s" goes to the InfoLog and
// null is returned.
MagickWandPtr ReadToolPicture(const std::filesystem::path& path);


// Makes the first image of the wand the current one (PSD and TIFF sources, animated GIFs).
void UseFirstImage(MagickWand* wand);

// Lays the picture over white where transparency cannot or should not be kept. A BMP source's
// alpha channel is switched off first in any case; with flatten, a picture with an alpha channel
// is laid over white and, for a PNG or PSD source, its alpha channel switched off. false when
// ImageMagick refuses; its reason stays on the wand.
bool FlattenOntoWhite(MagickWand* wand, const std::string& source_format, bool flatten);

// The write step: the wand's picture in the format set on it, through a temporary file. On
// failure, failure holds "MagickWriteImage() 发生错误：..." with the reason and the target.
bool WriteToolPicture(MagickWand* wand, const std::filesystem::path& target, RunMessage& failure);

// The message of a failed write step: "MagickWriteImage() 发生错误：..." with ImageMagick's reason
// and the target. A step ImageMagick refuses on the way to the target fails the same way.
RunMessage WriteFailure(const std::string& reason, const std::filesystem::path& target);

// A step ImageMagick refused on the way to target fails the picture as a failed write of it would,
// with the reason pending on the wand.
PictureResult StepRefused(MagickWand* wand, const std::filesystem::path& target);

// The message of a failed PNG-8 write: "保存图片时发生错误，请检查硬盘空间是否用完。..." with the
// target, cut to max_path_bytes GBK bytes when given (0: the whole path).
RunMessage Png8WriteFailure(const std::filesystem::path& target, std::size_t max_path_bytes);

// The common JPEG output: CMYK pictures turned into sRGB, "JPEG" with JPEG compression at the
// quality, then the write step. A refused turn fails like the write step.
bool WriteToolJpeg(MagickWand* wand, const std::filesystem::path& target, std::size_t quality,
                   RunMessage& failure);

// The common PNG output: "PNG", then the PNG-8 write with the colour count or the write step.
bool WriteToolPng(MagickWand* wand, const std::filesystem::path& target, bool png8, int color_count,
                  std::size_t max_path_bytes, RunMessage& failure);

}  // namespace brindle
