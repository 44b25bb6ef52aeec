#include "window_rules/list/thumbnail.h"

#include <algorithm>

#include "base/info_log.h"
#include "engine/effects/lanczos_resample.h"
#include "engine/read/heif_header.h"
#include "engine/read/heif_thumbnail.h"
#include "engine/read/jpeg_decode.h"
#include "engine/read/picture_read.h"
#include "platform/files/buffered_file_reader.h"
#include "platform/files/file_write.h"
#include "platform/magick/magick_wand.h"

namespace brindle {
namespace {

constexpr int kInner = kThumbnailSide - 2;

// width x height fitted into side x side keeping the aspect ratio; smaller pictures keep their size.
FittedSize FitInto(int width, int height, int side) {
  if (width <= side && height <= side) return {width, height};
  if (height > width) return {std::max(1, static_cast<int>(std::int64_t{width} * side / height)), side};
  return {side, std::max(1, static_cast<int>(std::int64_t{height} * side / width))};
}

// Turned clockwise by degrees (a multiple of 90), then mirrored top-to-bottom when flip is set.
Pixels8 TurnPixels(const Pixels8& in, int degrees, bool flip) {
  const int quarters = ((degrees / 90) % 4 + 4) % 4;
  if (quarters == 0 && !flip) return in;
  Pixels8 out;
  out.channels = in.channels;
  out.width = quarters % 2 ? in.height : in.width;
  out.height = quarters % 2 ? in.width : in.height;
  out.samples.resize(in.samples.size());
  const auto c = static_cast<std::size_t>(in.channels);
  for (int y = 0; y < out.height; ++y) {
    const int turned_y = flip ? out.height - 1 - y : y;
    for (int x = 0; x < out.width; ++x) {
      int sx = x, sy = turned_y;  // the source pixel of (x, turned_y) in the turned picture
      switch (quarters) {
        case 1: sx = turned_y; sy = in.height - 1 - x; break;
        case 2: sx = in.width - 1 - x; sy = in.height - 1 - turned_y; break;
        case 3: sx = in.width - 1 - turned_y; sy = x; break;
        default: break;
      }
      std::copy_n(&in.samples[(static_cast<std::size_t>(sy) * in.width + sx) * c], c,
                  &out.samples[(static_cast<std::size_t>(y) * out.width + x) * c]);
    }
  }
  return out;
}

// The turn and flip that set a picture stored with this Exif orientation upright.
struct Turn {
  int degrees = 0;
  bool flip = false;
};
Turn UprightTurn(OrientationType orientation) {
  switch (orientation) {
    case TopRightOrientation: return {180, true};
    case BottomRightOrientation: return {180, false};
    case BottomLeftOrientation: return {0, true};
    case LeftTopOrientation: return {270, true};
    case RightTopOrientation: return {90, false};
    case RightBottomOrientation: return {90, true};
    case LeftBottomOrientation: return {270, false};
    default: return {};
  }
}

SharedThumbnail FromPixels(const Pixels8& pixels, int image_width, int image_height) {
  SharedThumbnail shared;
  shared.width = pixels.width;
  shared.height = pixels.height;
  shared.image_width = image_width;
  shared.image_height = image_height;
  const std::size_t count = static_cast<std::size_t>(pixels.width) * pixels.height;
  shared.rgba.resize(count * 4);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* p = &pixels.samples[i * static_cast<std::size_t>(pixels.channels)];
    std::uint8_t* q = &shared.rgba[i * 4];
    q[0] = p[0];
    q[1] = pixels.channels >= 3 ? p[1] : p[0];
    q[2] = pixels.channels >= 3 ? p[2] : p[0];
    q[3] = 255;
  }
  return shared;
}

bool IsJpeg(const std::string& bytes) {
  return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
         static_cast<unsigned char>(bytes[1]) == 0xD8;
}

// What a ping of a single-picture JPEG says: its stored size and its orientation.
struct JpegFacts {
  int width = 0;
  int height = 0;
  OrientationType orientation = UndefinedOrientation;
};
std::optional<JpegFacts> PingJpeg(const std::string& bytes) {
  MagickWandPtr ping = MakeMagickWand();
  if (!PingPictureBytes(ping.get(), bytes) || PictureFormat(ping.get()) != "JPEG" ||
      MagickGetNumberImages(ping.get()) != 1) {
    return std::nullopt;
  }
  return JpegFacts{static_cast<int>(MagickGetImageWidth(ping.get())),
                   static_cast<int>(MagickGetImageHeight(ping.get())),
                   MagickGetImageOrientation(ping.get())};
}

// A JPEG decoded by whole eighths to at least twice the thumbnail, then resampled, then set
// upright. None for the JPEGs the fast decoder leaves to ImageMagick.
std::optional<SharedThumbnail> DecodeJpegThumbnail(const std::string& bytes, const JpegFacts& jpeg) {
  const Turn upright = UprightTurn(jpeg.orientation);
  const bool sideways = TurnsSidewaysWhenUpright(jpeg.orientation);
  const FittedSize fitted = FitInto(jpeg.width, jpeg.height, kSharedThumbnailSide);
  std::optional<Pixels8> pixels =
      DecodeJpegResized(bytes, fitted.width * 2, fitted.height * 2, fitted.width, fitted.height);
  if (!pixels) return std::nullopt;
  Pixels8 turned = TurnPixels(*pixels, upright.degrees, upright.flip);
  return FromPixels(turned, sideways ? jpeg.height : jpeg.width,
                    sideways ? jpeg.width : jpeg.height);
}

// A HEIF or AVIF photograph's own thumbnail (phones keep one of a few hundred pixels) resampled to
// the shared size, with the picture's upright size from its boxes: no megapixels decoded. None
// when the file keeps no thumbnail as large as the shared one.
std::optional<SharedThumbnail> HeifThumbnail(const std::filesystem::path& path,
                                            const std::string& bytes) {
  std::optional<Pixels8> embedded = HeifEmbeddedThumbnail(bytes, kSharedThumbnailSide);
  if (!embedded) return std::nullopt;
  const FittedSize fitted = FitInto(embedded->width, embedded->height, kSharedThumbnailSide);
  LanczosResampler resampler(embedded->width, embedded->height, embedded->channels, fitted.width,
                             fitted.height);
  const std::size_t row = static_cast<std::size_t>(embedded->width) * embedded->channels;
  for (int y = 0; y < embedded->height; ++y) resampler.AddRow(&embedded->samples[y * row]);
  BufferedFileReader reader(path);
  const std::optional<HeifSides> sides = ReadHeifSides(reader);
  return FromPixels(resampler.Take(), sides ? static_cast<int>(sides->width) : 0,
                    sides ? static_cast<int>(sides->height) : 0);
}

// Any other picture, read by ImageMagick (a JPEG at a reduced size), upright, its first frame.
std::optional<SharedThumbnail> ReadThumbnail(const std::filesystem::path& path,
                                             const std::string& bytes,
                                             const std::optional<JpegFacts>& jpeg,
                                             std::string& failure) {
  MagickWandPtr wand;
  int image_width = 0;
  int image_height = 0;
  if (jpeg) {
    wand = MakeMagickWand();
    const FittedSize fitted = FitInto(jpeg->width, jpeg->height, kSharedThumbnailSide);
    const std::string hint = std::to_string(fitted.width * 2) + "x" + std::to_string(fitted.height * 2);
    MagickSetOption(wand.get(), "jpeg:size", hint.c_str());
    if (!ReadPictureBytes(wand.get(), bytes, nullptr) || !AutoOrient(wand.get())) wand.reset();
    const bool sideways = TurnsSidewaysWhenUpright(jpeg->orientation);
    image_width = sideways ? jpeg->height : jpeg->width;
    image_height = sideways ? jpeg->width : jpeg->height;
  } else {
    wand = ReadPicture(path);
  }
  if (!wand) {
    failure = FormatMessage("图片读取失败:\r\n%s", path.c_str());
    return std::nullopt;
  }
  const std::string format = PictureFormat(wand.get());
  if (format == "GIF" && MagickGetNumberImages(wand.get()) >= 2) {
    failure = FormatMessage("不支持gif动画图片:\r\n%s", path.c_str());
    return std::nullopt;
  }
  MagickResetIterator(wand.get());
  MagickNextImage(wand.get());
  if (format == "BMP") MagickSetImageAlphaChannel(wand.get(), DeactivateAlphaChannel);
  // The samples are exported as they are held: CMYK pictures, and HEIF and AVIF ones (which
  // ImageMagick holds as YCbCr), are made RGB first.
  const ColorspaceType colorspace = MagickGetImageColorspace(wand.get());
  if (colorspace == CMYKColorspace || colorspace == YCbCrColorspace) {
    MagickTransformImageColorspace(wand.get(), sRGBColorspace);
  }
  const int width = static_cast<int>(MagickGetImageWidth(wand.get()));
  const int height = static_cast<int>(MagickGetImageHeight(wand.get()));
  if (!jpeg) {
    image_width = width;
    image_height = height;
  }
  const FittedSize fitted = FitInto(width, height, kSharedThumbnailSide);
  const auto fitted_width = static_cast<std::size_t>(fitted.width);
  const auto fitted_height = static_cast<std::size_t>(fitted.height);
  SharedThumbnail shared;
  shared.width = fitted.width;
  shared.height = fitted.height;
  shared.image_width = image_width;
  shared.image_height = image_height;
  shared.rgba.resize(fitted_width * fitted_height * 4);
  const bool fits = fitted.width == width && fitted.height == height;
  if ((!fits && MagickThumbnailImage(wand.get(), fitted_width, fitted_height) == MagickFalse &&
       MagickResizeImage(wand.get(), fitted_width, fitted_height, TriangleFilter, 1.0) ==
           MagickFalse) ||
      MagickExportImagePixels(wand.get(), 0, 0, fitted_width, fitted_height, "RGBA", CharPixel,
                              shared.rgba.data()) == MagickFalse) {
    failure = FormatMessage("图片读取失败:\r\n%s", path.c_str());
    return std::nullopt;
  }
  return shared;
}

}  // namespace

FittedSize FitThumbnail(int width, int height) { return FitInto(width, height, kInner); }

std::optional<SharedThumbnail> MakeSharedThumbnail(const std::filesystem::path& path,
                                                   std::string& failure) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) {
    failure = FormatMessage("图片读取失败:\r\n%s", path.c_str());
    return std::nullopt;
  }
  std::optional<JpegFacts> jpeg;
  if (IsJpeg(bytes)) jpeg = PingJpeg(bytes);
  if (jpeg && jpeg->width > 0 && jpeg->height > 0) {
    if (std::optional<SharedThumbnail> shared = DecodeJpegThumbnail(bytes, *jpeg)) return shared;
  }
  if (!jpeg) {
    if (std::optional<SharedThumbnail> shared = HeifThumbnail(path, bytes)) return shared;
  }
  // A file that starts as a JPEG but does not ping as one is left to the general read.
  if (jpeg && (jpeg->width <= 0 || jpeg->height <= 0)) jpeg.reset();
  return ReadThumbnail(path, bytes, jpeg, failure);
}

std::vector<std::uint8_t> FrameThumbnail(const SharedThumbnail& shared, int rotation, bool flipped) {
  // Laid on white first, so transparent parts show white as the list's background.
  Pixels8 flat;
  flat.width = shared.width;
  flat.height = shared.height;
  flat.channels = 3;
  const std::size_t count = static_cast<std::size_t>(shared.width) * shared.height;
  flat.samples.resize(count * 3);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* p = &shared.rgba[i * 4];
    for (int c = 0; c < 3; ++c) {
      flat.samples[i * 3 + static_cast<std::size_t>(c)] =
          static_cast<std::uint8_t>((p[c] * p[3] + 255 * (255 - p[3]) + 127) / 255);
    }
  }
  const bool sized = shared.image_width > 0 && shared.image_height > 0;
  const FittedSize fitted = FitThumbnail(sized ? shared.image_width : shared.width,
                                         sized ? shared.image_height : shared.height);
  if (fitted.width != flat.width || fitted.height != flat.height) {
    LanczosResampler resampler(flat.width, flat.height, 3, fitted.width, fitted.height);
    for (int y = 0; y < flat.height; ++y) {
      resampler.AddRow(&flat.samples[static_cast<std::size_t>(y) * flat.width * 3]);
    }
    flat = resampler.Take();
  }

  // Centred on the white square, which is then turned and flipped as a whole.
  Pixels8 canvas;
  canvas.width = canvas.height = kInner;
  canvas.channels = 3;
  canvas.samples.assign(static_cast<std::size_t>(kInner) * kInner * 3, 255);
  const int left = (kInner - flat.width) / 2;
  const int top = (kInner - flat.height) / 2;
  for (int y = 0; y < flat.height; ++y) {
    std::copy_n(&flat.samples[static_cast<std::size_t>(y) * flat.width * 3],
                static_cast<std::size_t>(flat.width) * 3,
                &canvas.samples[(static_cast<std::size_t>(top + y) * kInner + left) * 3]);
  }
  canvas = TurnPixels(canvas, rotation, flipped);

  std::vector<std::uint8_t> tile(static_cast<std::size_t>(kThumbnailSide) * kThumbnailSide * 4);
  for (int y = 0; y < kThumbnailSide; ++y) {
    for (int x = 0; x < kThumbnailSide; ++x) {
      std::uint8_t* q = &tile[(static_cast<std::size_t>(y) * kThumbnailSide + x) * 4];
      const bool frame = x == 0 || y == 0 || x == kThumbnailSide - 1 || y == kThumbnailSide - 1;
      if (frame) {
        q[0] = 0xd4;
        q[1] = 0xd0;
        q[2] = 0xc8;
      } else {
        std::copy_n(&canvas.samples[(static_cast<std::size_t>(y - 1) * kInner + (x - 1)) * 3], 3, q);
      }
      q[3] = 255;
    }
  }
  return tile;
}

Thumbnail MakeThumbnail(const std::filesystem::path& path, const ThumbnailOrder& order) {
  Thumbnail thumbnail;
  std::optional<ThumbnailSource> source;
  if (!order.shared_folder.empty()) source = ThumbnailSourceOf(path);
  std::optional<SharedThumbnail> shared;
  if (source && order.read_shared) shared = ReadSharedThumbnail(order.shared_folder, *source);
  if (!shared) {
    shared = MakeSharedThumbnail(path, thumbnail.failure);
    if (!shared) return thumbnail;
    // A read-only or missing cache only means the next start makes it again.
    if (source) WriteSharedThumbnail(order.shared_folder, *shared, *source);
  }
  thumbnail.rgba = FrameThumbnail(*shared, order.rotation, order.flipped);
  return thumbnail;
}

Thumbnail MakeThumbnail(const std::filesystem::path& path, int rotation, bool flipped) {
  return MakeThumbnail(path, ThumbnailOrder{rotation, flipped, {}, true});
}

}  // namespace brindle
