#include "shell/thumbnail.h"

#include <algorithm>

#include "base/info_log.h"
#include "engine/picture_read.h"
#include "platform/magick_wand.h"

namespace brindle {
namespace {

constexpr int kInner = kThumbnailSide - 2;

std::string FormatOf(MagickWand* wand) {
  MagickTextPtr format(MagickGetImageFormat(wand));
  return format ? std::string(format.get()) : std::string();
}

}  // namespace

FittedSize FitThumbnail(int width, int height) {
  if (width <= kInner && height <= kInner) return {width, height};
  if (height > width) return {std::max(1, width * kInner / height), kInner};
  return {kInner, std::max(1, height * kInner / width)};
}

Thumbnail MakeThumbnail(const std::filesystem::path& path, int rotation, bool flipped) {
  Thumbnail thumbnail;
  MagickWandPtr wand = ReadPicture(path);
  if (!wand) {
    thumbnail.failure = FormatMessage("图片读取失败:\r\n%s", path.c_str());
    return thumbnail;
  }
  const std::string format = FormatOf(wand.get());
  if (format == "GIF" && MagickGetNumberImages(wand.get()) >= 2) {
    thumbnail.failure = FormatMessage("不支持gif动画图片:\r\n%s", path.c_str());
    return thumbnail;
  }
  MagickResetIterator(wand.get());
  MagickNextImage(wand.get());
  if (format == "BMP") MagickSetImageAlphaChannel(wand.get(), DeactivateAlphaChannel);
  if (MagickGetImageColorspace(wand.get()) == CMYKColorspace) {
    MagickTransformImageColorspace(wand.get(), sRGBColorspace);
  }

  const FittedSize fitted = FitThumbnail(static_cast<int>(MagickGetImageWidth(wand.get())),
                                         static_cast<int>(MagickGetImageHeight(wand.get())));
  const auto width = static_cast<size_t>(fitted.width);
  const auto height = static_cast<size_t>(fitted.height);
  if ((width != MagickGetImageWidth(wand.get()) || height != MagickGetImageHeight(wand.get())) &&
      MagickResizeImage(wand.get(), width, height, TriangleFilter, 1.0) == MagickFalse &&
      MagickThumbnailImage(wand.get(), width, height) == MagickFalse) {
    thumbnail.failure = FormatMessage("图片读取失败:\r\n%s", path.c_str());
    return thumbnail;
  }

  MagickWandPtr canvas = MakeMagickWand();
  PixelWandPtr white = MakePixelWand("#FFFFFF");
  PixelWandPtr frame = MakePixelWand("#d4d0c8");
  const bool made =
      MagickNewImage(canvas.get(), kInner, kInner, white.get()) != MagickFalse &&
      MagickCompositeImage(canvas.get(), wand.get(), OverCompositeOp, (kInner - fitted.width) / 2,
                           (kInner - fitted.height) / 2) != MagickFalse &&
      (rotation % 360 == 0 || MagickRotateImage(canvas.get(), white.get(), rotation) != MagickFalse) &&
      (!flipped || MagickFlipImage(canvas.get()) != MagickFalse) &&
      MagickBorderImage(canvas.get(), frame.get(), 1, 1) != MagickFalse;
  thumbnail.rgba.resize(static_cast<std::size_t>(kThumbnailSide) * kThumbnailSide * 4);
  if (!made || MagickGetImageWidth(canvas.get()) != kThumbnailSide ||
      MagickGetImageHeight(canvas.get()) != kThumbnailSide ||
      MagickExportImagePixels(canvas.get(), 0, 0, kThumbnailSide, kThumbnailSide, "RGBA",
                              CharPixel, thumbnail.rgba.data()) == MagickFalse) {
    thumbnail.rgba.clear();
    thumbnail.failure = FormatMessage("图片读取失败:\r\n%s", path.c_str());
  }
  return thumbnail;
}

}  // namespace brindle
